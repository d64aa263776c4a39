#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "CExchange.h"
#include "CFakeClock.h"
#include "CPortDirectory.h"
#include "CRecordingHost.h"
#include "CSerialPort.h"
#include "CSystemClock.h"
#include "ExchangeTiming.h"
#include "Frames.h"
#include "PortFailureTexts.h"
#include "ProtocolTexts.h"
#include "PtyPair.h"
#include "TempDir.h"

namespace {

using namespace std::chrono_literals;
using Calls = std::vector<std::string>;

constexpr int32_t kAnnouncedPort = 950;
constexpr int32_t kMissingPort = 951;

const std::string kReport = "TM010203V12005012100007003A00\r\n";
const std::string kStaleReport = "TM010203V12099012100007003A00\r\n";
const std::string kModemReport = "US 01 02 03  V12  005  012  100  007  003  A00\r\n";
const std::string kStaleModemReport = "US 01 02 03  V12  099  012  100  007  003  A00\r\n";

std::string Status(const std::string& prefix, const std::string& id) {
    return prefix + "7305rx\r\n01/02/03\r\nVER= V12\r\nID = " + id +
           "\r\nCHF= 012\r\nOFT= 100\r\nP0 = 007\r\nPRT= 003\r\nTYP= A00\r\n";
}

const std::string kStatus = Status("TM", "005");
const std::string kModemStatus = Status("US", "005");

// One line the device waits for, and what it answers to it.
struct Step {
    std::string expect;
    std::string reply;
    bool hangUpAfter = false;
    // A device that takes its time: the reply starts after `delayMs` and goes out one byte
    // every `paceMs`, again and again while `endless`, until the test ends.
    int delayMs = 0;
    int paceMs = 0;
    bool endless = false;
};

// The device on the master side of the pseudo-terminal: records every byte it receives
// and plays its script, one step per expected line, in order.
class DevicePeer {
public:
    DevicePeer(PtyPair& pty, std::vector<Step> script) : pty(pty), script(std::move(script)) {
        if (pipe(stopPipe) == 0) {
            worker = std::thread([this] { Run(); });
        }
    }
    ~DevicePeer() {
        if (worker.joinable()) {
            const char stop = 's';
            (void)!write(stopPipe[1], &stop, 1);
            worker.join();
        }
        close(stopPipe[0]);
        close(stopPipe[1]);
    }

    std::string Received() {
        std::lock_guard lock(mutex);
        return received;
    }
    bool AwaitReceived(size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 5s, [&] { return received.size() >= count; });
    }

private:
    void Run() {
        std::string line;
        size_t next = 0;
        for (;;) {
            pollfd fds[2] = {{pty.Master(), POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 || fds[1].revents != 0 || (fds[0].revents & POLLIN) == 0) {
                return;
            }
            char byte = 0;
            if (read(pty.Master(), &byte, 1) != 1) {
                return;
            }
            {
                std::lock_guard lock(mutex);
                received.push_back(byte);
            }
            changed.notify_all();
            line.push_back(byte);
            if (byte != '\n') {
                continue;
            }
            if (next < script.size() && line == script[next].expect) {
                const Step& step = script[next++];
                if (step.delayMs > 0 || step.paceMs > 0) {
                    Play(step);
                    return;
                }
                pty.WriteMaster(step.reply);
                if (step.hangUpAfter) {
                    // Unplugged once the reply is out: the bytes sent so far were delivered.
                    pty.WaitSlaveTaken(2000);
                    pty.CloseMaster();
                    return;
                }
            }
            line.clear();
        }
    }

    // False once the test has ended the peer.
    bool Idle(int ms) {
        pollfd stop{stopPipe[0], POLLIN, 0};
        return poll(&stop, 1, ms) == 0;
    }
    void Play(const Step& step) {
        if (!Idle(step.delayMs)) {
            return;
        }
        do {
            for (const char byte : step.reply) {
                pollfd out[2] = {{pty.Master(), POLLOUT, 0}, {stopPipe[0], POLLIN, 0}};
                if (poll(out, 2, -1) < 0 || out[1].revents != 0 ||
                    write(pty.Master(), &byte, 1) != 1 || !Idle(step.paceMs)) {
                    return;
                }
            }
        } while (step.endless);
    }

    PtyPair& pty;
    std::vector<Step> script;
    int stopPipe[2] = {-1, -1};
    std::mutex mutex;
    std::condition_variable changed;
    std::string received;
    std::thread worker;
};

// A fake clock that can hold the exchange at its first tick or at a pause until the test
// has set the line up, so that a race with the device becomes a fixed order.
class HookedClock final : public IClock {
public:
    explicit HookedClock(uint32_t stepPerTick) : fake(0, stepPerTick) {}

    uint32_t TickMs() override {
        if (beforeFirstTick) {
            std::exchange(beforeFirstTick, nullptr)();
        }
        return fake.TickMs();
    }
    int Pause(uint32_t ms, IWaitService& service) override {
        if (beforeSleep) {
            std::exchange(beforeSleep, nullptr)();
        }
        return fake.Pause(ms, service);
    }

    CFakeClock fake;
    std::function<void()> beforeFirstTick;
    std::function<void()> beforeSleep;
};

// A pseudo-terminal announced as COM950 in a private runtime folder, and a port that looks
// its numbers up there.
class ExchangeTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Valid());
        ASSERT_FALSE(folder.Path().empty());
        ASSERT_TRUE(folder.Link("COM" + std::to_string(kAnnouncedPort), pty.SlavePath()));
        CPortDirectory::Roots roots;
        roots.runtime = folder.Path();
        directory = std::make_unique<CPortDirectory>(roots);
        port.SetPortDirectory(directory.get());
    }

    CExchange Exchange(IClock& clock, const ExchangeTiming& timing = {}) {
        return CExchange(port, host, clock, timing);
    }

    PtyPair pty;
    TempDir folder;
    std::unique_ptr<CPortDirectory> directory;
    CSerialPort port;
    CRecordingHost host;
};

const ParameterSet kParams{5, 12, 7, "A", 3, 100};

// ---- full configuration send -------------------------------------------------------------

TEST_F(ExchangeTest, SendWritesFrameThenReadRequestAndShowsReport) {
    DevicePeer device(pty, {{"u00501207A003100\n", ""}, {"u\n", kReport}});
    HookedClock clock(10);

    Exchange(clock).SendConfig(kParams, kAnnouncedPort, kCustomVariant);

    EXPECT_EQ(device.Received(), "u00501207A003100\nu\n");
    EXPECT_EQ(host.Calls(), (Calls{"status:\r\n Configuration non reçue", "status:" + kStatus,
                                   "refresh", "after:5"}));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(clock.fake.Sleeps(), 0u);
    ASSERT_EQ(host.Records().size(), 1u);
    const ExchangeRecord& record = host.Records()[0];
    EXPECT_EQ(record.bytesSent, "u00501207A003100\nu\n");
    EXPECT_EQ(record.devicePath, pty.SlavePath());
    EXPECT_EQ(record.report, kReport);
    EXPECT_EQ(record.sentConfig->OFT, 100);
    EXPECT_EQ(record.message, "");
}

TEST_F(ExchangeTest, AnswerToFrameBeforeReadRequestIsPurged) {
    DevicePeer device(pty, {{"u00501207A003100\n", kStaleReport}, {"u\n", kReport}});
    HookedClock clock(10);
    bool staleQueued = false;
    clock.beforeFirstTick = [&] { staleQueued = pty.WaitSlaveInput(kStaleReport.size(), 5000); };

    Exchange(clock).SendConfig(kParams, kAnnouncedPort, kRepeaterVariant);

    ASSERT_TRUE(staleQueued);
    EXPECT_EQ(host.StatusText(), kStatus);
}

TEST_F(ExchangeTest, SendThatDoesNotFitAFrameWritesNothing) {
    HookedClock clock(10);
    for (const ParameterSet& params :
         {ParameterSet{256, 12, 7, "A", 3, 100}, ParameterSet{5, 12, 7, "", 3, 100}}) {
        Exchange(clock).SendConfig(params, kAnnouncedPort, kSensorVariant);
    }
    EXPECT_EQ(host.Calls(), (Calls{"message:Echec d'émission de la configuration.",
                                   "message:Echec d'émission de la configuration."}));
    EXPECT_EQ(pty.DrainMaster(), "");
    EXPECT_FALSE(port.IsOpen());
}

// ---- the three editors' texts ------------------------------------------------------------

struct VariantRow {
    std::string name;
    const ConfigVariant* variant;
    std::string preset;
    std::string readFailure;
    std::string sendFailure;
};

void PrintTo(const VariantRow& row, std::ostream* os) {
    *os << row.name;
}

class VariantTest : public ExchangeTest, public testing::WithParamInterface<VariantRow> {};

TEST_P(VariantTest, SendToMissingPortShowsOnlyTheSendFailure) {
    HookedClock clock(10);
    Exchange(clock).SendConfig(kParams, kMissingPort, *GetParam().variant);
    EXPECT_EQ(host.Calls(), Calls{"message:" + GetParam().sendFailure});
    ASSERT_EQ(host.Records().size(), 1u);
    EXPECT_EQ(host.Records()[0].message, GetParam().sendFailure);
    EXPECT_EQ(host.Records()[0].bytesSent, "");
    EXPECT_FALSE(host.Records()[0].sentConfig.has_value());
}

TEST_P(VariantTest, SilentDeviceKeepsPresetAndStillRunsAfterSendStep) {
    DevicePeer device(pty, {});
    HookedClock clock(15001);
    Exchange(clock).SendConfig(kParams, kAnnouncedPort, *GetParam().variant);

    EXPECT_EQ(host.Calls(), (Calls{"status:" + GetParam().preset,
                                   "message:" + GetParam().readFailure, "refresh", "after:5"}));
    EXPECT_EQ(host.StatusText(), GetParam().preset);
    // Silence is no port failure: the box stays as it always was.
    EXPECT_TRUE(host.Failures().empty());
    EXPECT_EQ(host.Records().at(0).cause, "");
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, VariantTest,
    testing::Values(
        VariantRow{"Custom", &kCustomVariant, "\r\n Configuration non reçue",
                   "Echec de lecture de la configuration.", "Echec d'émission de la configuration"},
        VariantRow{"Repeater", &kRepeaterVariant, "\r\n Configuration non reçue",
                   "Echec de la configuration.", "Echec d'émission de la configuration."},
        VariantRow{"Sensor", &kSensorVariant, "\r\nConfiguration non reçue",
                   "Echec de la configuration.", "Echec d'émission de la configuration."}),
    [](const testing::TestParamInfo<VariantRow>& info) { return info.param.name; });

// ---- which replies the read-back accepts ---------------------------------------------------

struct ReplyRow {
    std::string name;
    std::string reply;                  // the device's answer to "u"
    std::optional<std::string> status;  // nothing: no report accepted
};

void PrintTo(const ReplyRow& row, std::ostream* os) {
    *os << row.name;
}

class ReadBackReply : public ExchangeTest, public testing::WithParamInterface<ReplyRow> {};

TEST_P(ReadBackReply, DecodesFirstAcceptedLine) {
    DevicePeer device(pty, {{"u\n", GetParam().reply}});
    // Two attempts fit before the deadline: one for the reply's first line, one more.
    HookedClock clock(7600);
    Exchange(clock).ReadConfig(kAnnouncedPort);

    EXPECT_EQ(device.Received(), "u\n");
    if (GetParam().status) {
        EXPECT_EQ(host.StatusText(), *GetParam().status);
        EXPECT_EQ(host.Calls().back(), "refresh");
        EXPECT_EQ(host.Calls().at(host.Calls().size() - 2), "status:" + *GetParam().status);
    } else {
        EXPECT_EQ(host.StatusText(), "\r\n Configuration non reçue");
        EXPECT_EQ(host.Calls().at(host.Calls().size() - 2),
                  "message:Echec de lecture de la configuration.");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, ReadBackReply,
    testing::Values(
        ReplyRow{"Report", kReport, kStatus}, ReplyRow{"EchoSkipped", "u\n" + kReport, kStatus},
        ReplyRow{"NoiseSkipped", "\x01\xFFgarbage\r\n" + kReport, kStatus},
        ReplyRow{"EmptyLineSkipped", "\n" + kReport, kStatus},
        ReplyRow{"LowerCaseThenReport", "tm010203V12099012100007003A00\n" + kReport, kStatus},
        ReplyRow{"LcPrefix", "LC010203V12005012100007003A00\n", Status("LC", "005")},
        ReplyRow{"LmSpaced", "LM 01 02 03  V12  005  012  100  007  003  A00\n",
                 Status("LM", "005")},
        ReplyRow{"LongerThanBuffer",
                 "TM 01 02 03  V12  005  012  100  007  003  A00" + std::string(60, '#') + "\n",
                 kStatus},
        ReplyRow{
            "TmAlone", "TM\n",
            "TM7305rx\r\n\n//\r\nVER= \r\nID = \r\nCHF= \r\nOFT= \r\nP0 = \r\nPRT= \r\nTYP= \r\n"},
        ReplyRow{"Latin1ByteShownAsUtf8",
                 "TM010203V\xE9"
                 "2005012100007003A00\n",
                 "TM7305rx\r\n01/02/03\r\nVER= V\xC3\xA9"
                 "2\r\nID = 005\r\nCHF= 012\r\n"
                 "OFT= 100\r\nP0 = 007\r\nPRT= 003\r\nTYP= A00\r\n"},
        ReplyRow{"LowerCaseOnly", "tm010203V12005012100007003A00\n", std::nullopt},
        ReplyRow{"ModemReportOnly", kModemReport, std::nullopt},
        ReplyRow{"CutShortByTimeOut", "TM0102",
                 "TM7305rx\r\n01/02/\r\nVER= \r\nID = \r\nCHF= \r\nOFT= \r\nP0 = \r\nPRT= "
                 "\r\nTYP= \r\n"},
        ReplyRow{"CutShortWithoutPrefix", "xT", std::nullopt}),
    [](const testing::TestParamInfo<ReplyRow>& info) { return info.param.name; });

TEST_F(ExchangeTest, ReadConfigShowsProgressFirst) {
    DevicePeer device(pty, {{"u\n", kReport}});
    HookedClock clock(10);
    Exchange(clock).ReadConfig(kAnnouncedPort);

    EXPECT_EQ(host.Calls(),
              (Calls{"status:\r\n Lecture en cours ...", "refresh", "repaint",
                     "status:\r\n Configuration non reçue", "status:" + kStatus, "refresh"}));
    EXPECT_FALSE(port.IsOpen());
}

// ---- the deadline --------------------------------------------------------------------------

struct DeadlineRow {
    std::string name;
    uint32_t startTick;
    uint32_t secondAttemptAt;  // elapsed ms when the report's attempt would start
    bool accepted;
};

void PrintTo(const DeadlineRow& row, std::ostream* os) {
    *os << row.name;
}

class ReadBackDeadline : public ExchangeTest, public testing::WithParamInterface<DeadlineRow> {};

// The device answers with a line that is not a report, then the report at once. Only the
// test between attempts decides, so a report that starts before the deadline is taken.
TEST_P(ReadBackDeadline, TestedOnlyBetweenAttempts) {
    DevicePeer device(pty, {{"u\n", "xx\n" + kReport}});
    HookedClock clock(GetParam().secondAttemptAt);
    clock.fake.Advance(GetParam().startTick);
    Exchange(clock).ReadConfig(kAnnouncedPort);

    EXPECT_EQ(host.StatusText(), GetParam().accepted ? kStatus : "\r\n Configuration non reçue");
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, ReadBackDeadline,
    testing::Values(DeadlineRow{"At14900", 0, 14900, true},
                    DeadlineRow{"AtExactly15000", 0, 15000, true},
                    DeadlineRow{"At15001", 0, 15001, false},
                    DeadlineRow{"At14900AcrossCounterWrap", 0xFFFFFFFFu - 100, 14900, true},
                    DeadlineRow{"At15001AcrossCounterWrap", 0xFFFFFFFFu - 100, 15001, false}),
    [](const testing::TestParamInfo<DeadlineRow>& info) { return info.param.name; });

// A wait on a dead line ends just past its deadline after about one attempt a second; with
// one fake millisecond per tick, a loop without pauses would need thousands of ticks.
void ExpectEndedAtDeadlineWithoutSpinning(const CFakeClock& clock, uint32_t deadlineMs) {
    EXPECT_GT(clock.Now(), deadlineMs);
    EXPECT_LE(clock.Now(), deadlineMs + 1000);
    EXPECT_LE(clock.Ticks(), deadlineMs / 1000 + 5);
}

TEST_F(ExchangeTest, ClosedPortWaitEndsAtDeadlineWithoutSpinning) {
    HookedClock clock(1);
    const auto realStart = std::chrono::steady_clock::now();
    Exchange(clock).ReadConfig(kMissingPort);
    const auto realElapsed = std::chrono::steady_clock::now() - realStart;

    EXPECT_EQ(host.Calls(), (Calls{"status:\r\n Lecture en cours ...", "refresh", "repaint",
                                   "status:\r\n Configuration non reçue",
                                   "message:Echec de lecture de la configuration.", "refresh"}));
    ExpectEndedAtDeadlineWithoutSpinning(clock.fake, 15000);
    EXPECT_GE(clock.fake.Sleeps(), 15u);
    EXPECT_LT(realElapsed, 5s);
}

TEST_F(ExchangeTest, HungUpLineWaitEndsAtDeadlineWithoutSpinning) {
    DevicePeer device(pty, {{"u\n", "", true}});
    HookedClock clock(1);
    Exchange(clock).ReadConfig(kAnnouncedPort);

    EXPECT_EQ(host.StatusText(), "\r\n Configuration non reçue");
    ExpectEndedAtDeadlineWithoutSpinning(clock.fake, 15000);
    ASSERT_EQ(host.Failures().size(), 1u);
    EXPECT_EQ(host.Failures()[0].text, "Echec de lecture de la configuration.");
    EXPECT_EQ(host.Failures()[0].cause, kCauseLost);
    EXPECT_EQ(host.Failures()[0].systemError, std::strerror(EIO));
    EXPECT_EQ(host.Records().at(0).cause, kCauseLost);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ExchangeTest, ChattyDeviceIsReadWithoutPauses) {
    std::string noise;
    for (int i = 0; i < 40; ++i) {
        noise += "noise " + std::to_string(i) + "\n";
    }
    DevicePeer device(pty, {{"u\n", noise}});
    HookedClock clock(1000);
    Exchange(clock).ReadConfig(kAnnouncedPort);

    EXPECT_EQ(host.StatusText(), "\r\n Configuration non reçue");
    EXPECT_EQ(clock.fake.Sleeps(), 0u);
}

// Whatever the device sends, a wait ends by its deadline and a grace of one second; a
// report begun before the deadline still comes in whole. Timed on the system's own clock, once
// on today's times (noise dripped faster than the byte time-out).
struct HoldRow {
    std::string name;
    bool modem;
    Step step;
    std::string status;  // the whole status, or its first line when it ends in "..."
    uint32_t atLeastMs;
    ExchangeTiming timing = {};  // today's times where the row shows them on the real clock
};

// The exchange's times at a fifth, for rows whose point is the order of events, not the length.
constexpr ExchangeTiming kFifthTiming{kConfigDeadlineMs / 5, kModemDeadlineMs / 5,
                                      kModemPauseMs / 5, kByteTimeoutMs / 5};

void PrintTo(const HoldRow& row, std::ostream* os) {
    *os << row.name;
}

class DeviceThatKeepsSending : public ExchangeTest, public testing::WithParamInterface<HoldRow> {};

TEST_P(DeviceThatKeepsSending, CannotHoldTheWaitPastItsGrace) {
    const HoldRow& row = GetParam();
    DevicePeer device(pty, {row.step});
    const auto start = std::chrono::steady_clock::now();
    CExchange exchange(port, host, CSystemClock::Instance(), row.timing);
    if (row.modem) {
        exchange.ReadModem(kAnnouncedPort);
    } else {
        exchange.ReadConfig(kAnnouncedPort);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;

    const uint32_t deadlineMs =
        row.modem ? row.timing.modemDeadlineMs : row.timing.configDeadlineMs;
    EXPECT_LE(elapsed, std::chrono::milliseconds(deadlineMs + 2 * row.timing.byteTimeoutMs));
    EXPECT_GE(elapsed, std::chrono::milliseconds(row.atLeastMs));
    const std::string& status = host.StatusText();
    if (row.status.ends_with("...")) {
        EXPECT_EQ(status.substr(0, row.status.size() - 3),
                  row.status.substr(0, row.status.size() - 3));
    } else {
        EXPECT_EQ(status, row.status);
    }
}

INSTANTIATE_TEST_SUITE_P(Exchange, DeviceThatKeepsSending,
                         testing::Values(HoldRow{"ZeroStream",
                                                 false,
                                                 {"u\n", std::string(1, '\0'), false, 0, 2, true},
                                                 "\r\n Configuration non reçue",
                                                 3000,
                                                 kFifthTiming},
                                         HoldRow{"NoiseDrippedFasterThanTheByteTimeOut",
                                                 true,
                                                 {"v\n", "x", false, 0, 900, true},
                                                 "\r\n Configuration non reçue!",
                                                 6000},
                                         HoldRow{"ReportDrippedTooSlowly",
                                                 true,
                                                 {"v\n", kModemReport, false, 0, 180},
                                                 "US7305rx\r\n...",
                                                 1200,
                                                 kFifthTiming},
                                         HoldRow{"ReportBegunJustBeforeTheDeadline",
                                                 false,
                                                 {"u\n", kReport, false, 2900, 5},
                                                 kStatus,
                                                 3000,
                                                 kFifthTiming}),
                         [](const testing::TestParamInfo<HoldRow>& info) {
                             return info.param.name;
                         });

// ---- modem -------------------------------------------------------------------------------

TEST_F(ExchangeTest, ModemSendPausesThenRequestsReport) {
    DevicePeer device(pty, {{"p 007\n", ""}, {"v\n", kModemReport}});
    HookedClock clock(10);
    std::string receivedAtPause;
    clock.beforeSleep = [&] {
        device.AwaitReceived(6);
        receivedAtPause = device.Received();
    };

    Exchange(clock).SendModemParam(3, 7, kAnnouncedPort);

    EXPECT_EQ(receivedAtPause, "p 007\n");
    EXPECT_EQ(device.Received(), "p 007\nv\n");
    EXPECT_EQ(clock.fake.Sleeps(), 1u);
    EXPECT_EQ(clock.fake.Slept(), 4000u);
    EXPECT_EQ(host.Calls(), (Calls{"status:\r\n Lecture en cours...", "refresh", "repaint",
                                   "status:" + kModemStatus, "refresh"}));
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ExchangeTest, ModemAnswerDuringPauseIsDiscarded) {
    DevicePeer device(pty, {{"i 042\n", kStaleModemReport}, {"v\n", kModemReport}});
    HookedClock clock(10);
    bool staleQueued = false;
    clock.beforeSleep = [&] { staleQueued = pty.WaitSlaveInput(kStaleModemReport.size(), 5000); };

    Exchange(clock).SendModemParam(1, 42, kAnnouncedPort);

    ASSERT_TRUE(staleQueued);
    EXPECT_EQ(host.StatusText(), kModemStatus);
}

TEST_F(ExchangeTest, SilentModemShowsMessageThenStatus) {
    DevicePeer device(pty, {{"t -001\n", ""}});
    // Two attempts, at a fifth of their real length.
    HookedClock clock(3100 / 5);
    Exchange(clock, kFifthTiming).SendModemParam(5, -1, kAnnouncedPort);

    device.AwaitReceived(9);
    EXPECT_EQ(device.Received(), "t -001\nv\n");
    EXPECT_EQ(host.Calls(),
              (Calls{"status:\r\n Lecture en cours...", "refresh", "repaint",
                     "message:Configuration non reçue!", "status:\r\n Configuration non reçue!",
                     "refresh", "repaint", "refresh"}));
    ASSERT_EQ(host.Records().size(), 1u);
    EXPECT_EQ(host.Records()[0].kind, ExchangeKind::SendModemParam);
    EXPECT_EQ(host.Records()[0].bytesSent, "t -001\nv\n");
    EXPECT_EQ(host.Records()[0].modemValue, -1);
    EXPECT_FALSE(host.Records()[0].report.has_value());
    EXPECT_EQ(host.Records()[0].message, "Configuration non reçue!");
}

TEST_F(ExchangeTest, ModemSendFailuresWriteNothingAndDoNotPause) {
    HookedClock clock(10);
    Exchange(clock).SendModemParam(3, 7, kMissingPort);
    Exchange(clock).SendModemParam(0, 7, kAnnouncedPort);

    EXPECT_EQ(host.Calls(), (Calls{"message:Echec d'émission de la configuration",
                                   "message:Echec d'émission de la configuration"}));
    EXPECT_EQ(clock.fake.Sleeps(), 0u);
    EXPECT_EQ(pty.DrainMaster(), "");
}

TEST_F(ExchangeTest, ReadModemAcceptsOnlyUsAndRefreshesAfterClosing) {
    DevicePeer device(pty, {{"v\n", kReport + kModemReport}});
    HookedClock clock(10);
    Exchange(clock).ReadModem(kAnnouncedPort);

    EXPECT_EQ(host.Calls(), (Calls{"status:\r\n Lecture en cours...", "refresh", "repaint",
                                   "status:" + kModemStatus, "refresh"}));
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ExchangeTest, ClosedPortModemReadEndsAtItsDeadline) {
    HookedClock clock(1);
    Exchange(clock).ReadModem(kMissingPort);

    EXPECT_EQ(host.StatusText(), "\r\n Configuration non reçue!");
    ExpectEndedAtDeadlineWithoutSpinning(clock.fake, 6000);
}

// ---- a wait the user ends ------------------------------------------------------------------

// A silent device's wait ended by the user a second in: it ends at once, as the deadline
// would have ended it, and the record tells that it was ended.
struct CancelRow {
    std::string name;
    WaitKind kind;
    std::function<void(CExchange&)> run;
    uint32_t silentStep;  // a fake clock's step that passes the deadline after one attempt
    bool asksReport;      // the read request goes out before the user ends the wait
};

void PrintTo(const CancelRow& row, std::ostream* os) {
    *os << row.name;
}

class CancelledWait : public ExchangeTest, public testing::WithParamInterface<CancelRow> {};

TEST_P(CancelledWait, EndsAtOnceAsASilentDevice) {
    const CancelRow& row = GetParam();
    DevicePeer device(pty, {});
    CRecordingHost silent;
    HookedClock fake(row.silentStep);
    CExchange silentExchange(port, silent, fake);
    row.run(silentExchange);

    host.CancelAfter(row.kind, 1000);
    const auto start = std::chrono::steady_clock::now();
    CExchange exchange(port, host, CSystemClock::Instance());
    row.run(exchange);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_GE(elapsed, 1000ms);
    EXPECT_LT(elapsed, 1500ms);
    EXPECT_EQ(host.Calls(), silent.Calls());
    EXPECT_EQ(host.StatusText(), silent.StatusText());
    EXPECT_TRUE(host.Failures().empty());
    ASSERT_EQ(host.Records().size(), 1u);
    const ExchangeRecord& ended = host.Records()[0];
    EXPECT_TRUE(ended.cancelled);
    EXPECT_FALSE(silent.Records().at(0).cancelled);
    EXPECT_EQ(ended.message, silent.Records()[0].message);
    EXPECT_FALSE(ended.report.has_value());
    EXPECT_EQ(ended.cause, "");
    const std::string& sent = silent.Records()[0].bytesSent;
    EXPECT_EQ(ended.bytesSent, row.asksReport ? sent : sent.substr(0, sent.size() - 2));
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, CancelledWait,
    testing::Values(
        CancelRow{"SendReadBack", WaitKind::kReport,
                  [](CExchange& e) { e.SendConfig(kParams, kAnnouncedPort, kRepeaterVariant); },
                  15001, true},
        CancelRow{"Read", WaitKind::kReport, [](CExchange& e) { e.ReadConfig(kAnnouncedPort); },
                  15001, true},
        CancelRow{"ModemPause", WaitKind::kPause,
                  [](CExchange& e) { e.SendModemParam(3, 7, kAnnouncedPort); }, 7000, false},
        CancelRow{"ModemRead", WaitKind::kReport, [](CExchange& e) { e.ReadModem(kAnnouncedPort); },
                  7000, true}),
    [](const auto& info) { return info.param.name; });

// ---- port failures ------------------------------------------------------------------------

constexpr int32_t kPlainFilePort = 952;

struct FailureRow {
    std::string name;
    int32_t portNumber;
    bool heldElsewhere;  // another channel has the port
    std::string cause;
    int err;
};

void PrintTo(const FailureRow& row, std::ostream* os) {
    *os << row.name;
}

class PortFailure : public ExchangeTest, public testing::WithParamInterface<FailureRow> {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        ASSERT_TRUE(folder.WriteFile("plain", "not a terminal"));
        ASSERT_TRUE(folder.Link("COM" + std::to_string(kPlainFilePort), folder / "plain"));
        holder.SetPortDirectory(directory.get());
        if (GetParam().heldElsewhere) {
            ASSERT_EQ(holder.Open(kAnnouncedPort, 19200, 'n', 8, 1, 'n'), PORT_OK);
        }
    }

    void ExpectToldWithCause(const std::string& message) {
        const FailureRow& row = GetParam();
        ASSERT_EQ(host.Failures().size(), 1u);
        EXPECT_EQ(host.Failures()[0].text, message);
        EXPECT_EQ(host.Failures()[0].cause, row.cause);
        EXPECT_EQ(host.Failures()[0].systemError, std::strerror(row.err));
        ASSERT_EQ(host.Records().size(), 1u);
        EXPECT_EQ(host.Records()[0].message, message);
        EXPECT_EQ(host.Records()[0].cause, row.cause);
        EXPECT_EQ(host.Records()[0].systemError, std::strerror(row.err));
    }

    CSerialPort holder;
};

TEST_P(PortFailure, SendFailureCarriesTheCause) {
    HookedClock clock(10);
    Exchange(clock).SendConfig(kParams, GetParam().portNumber, kRepeaterVariant);
    EXPECT_EQ(host.Calls(), Calls{"message:Echec d'émission de la configuration."});
    ExpectToldWithCause("Echec d'émission de la configuration.");
}

TEST_P(PortFailure, ModemReadFailureAtItsDeadlineCarriesTheCause) {
    HookedClock clock(1);
    Exchange(clock).ReadModem(GetParam().portNumber);
    EXPECT_EQ(host.StatusText(), "\r\n Configuration non reçue!");
    ExpectToldWithCause("Configuration non reçue!");
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, PortFailure,
    testing::Values(FailureRow{"Missing", kMissingPort, false, kCauseGone, ENOENT},
                    // This process is never named as the holder of its own port.
                    FailureRow{"HeldByAnotherChannel", kAnnouncedPort, true,
                               "Le port série est déjà utilisé par un autre programme. Fermez ce "
                               "programme ou attendez qu'il libère le port, puis recommencez.",
                               EWOULDBLOCK},
                    FailureRow{"NotATerminal", kPlainFilePort, false, kCauseNotSerial, ENOTTY}),
    [](const testing::TestParamInfo<FailureRow>& info) { return info.param.name; });

// A reply cut by a hang-up after an accepted prefix is decoded as the routine always did; once
// the sequence is over, one more box says that what the status shows is incomplete.
TEST_F(ExchangeTest, ReplyCutByHangUpIsDecodedThenToldOnceTheSequenceEnds) {
    DevicePeer device(pty, {{"u00501207A003100\n", ""}, {"u\n", "TM0102", true}});
    HookedClock clock(10);
    Exchange(clock).SendConfig(kParams, kAnnouncedPort, kRepeaterVariant);

    const std::string cut = DeviceToUtf8(DecodeReport("TM0102"));
    EXPECT_EQ(host.Calls(), (Calls{"status:\r\n Configuration non reçue", "status:" + cut,
                                   "refresh", "after:5", std::string("message:") + kTextReplyCut}));
    EXPECT_FALSE(port.IsOpen());
    ASSERT_EQ(host.Records().size(), 1u);
    const ExchangeRecord& record = host.Records()[0];
    EXPECT_EQ(record.report, "TM0102");
    EXPECT_EQ(record.message, "");
    EXPECT_EQ(record.cause, kTextReplyCut);
    EXPECT_EQ(record.systemError, std::strerror(EIO));
}

TEST_F(ExchangeTest, ModemReplyCutByHangUpIsToldAfterTheLastRefresh) {
    DevicePeer device(pty, {{"v\n", "US 01 02", true}});
    HookedClock clock(10);
    Exchange(clock).ReadModem(kAnnouncedPort);

    EXPECT_EQ(host.Calls(), (Calls{"status:\r\n Lecture en cours...", "refresh", "repaint",
                                   "status:" + DeviceToUtf8(DecodeReport("US 01 02")), "refresh",
                                   std::string("message:") + kTextReplyCut}));
    EXPECT_EQ(host.Records().at(0).cause, kTextReplyCut);
}

}  // namespace
