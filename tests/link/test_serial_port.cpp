#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <termios.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "CPortDirectory.h"
#include "CSerialPort.h"
#include "IWaitService.h"
#include "PtyPair.h"
#include "TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int32_t kPort = 950;
// A loaded machine may be slow to wake a thread; it is never early.
constexpr milliseconds kLateMargin{1500};

milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// The channel over a pseudo-terminal announced as virtual port COM950.
class SerialPortTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Valid());
        ASSERT_FALSE(dir.Path().empty());
        ASSERT_TRUE(dir.MakeDir("run"));
        ASSERT_TRUE(dir.Link("run/COM" + std::to_string(kPort), pty.SlavePath()));
        port.SetPortDirectory(&directory);
    }

    int OpenDefault(CSerialPort& channel) { return channel.Open(kPort, 19200, 'n', 8, 1, 'n'); }

    termios SlaveSettings() const {
        termios tio{};
        EXPECT_EQ(tcgetattr(pty.Slave(), &tio), 0);
        return tio;
    }

    PtyPair pty;
    TempDir dir;
    CPortDirectory directory{{dir / "sys", dir / "dev", dir / "run"}};
    CSerialPort port;
};

// ---- Opening -------------------------------------------------------------------------------

struct OpenRefusal {
    const char* name;
    int32_t number;
    uint32_t rate;
    char handshake;
    int expected;
    int error;  // what LastError tells afterwards
};

class OpenRefusals : public SerialPortTest, public testing::WithParamInterface<OpenRefusal> {
protected:
    void SetUp() override {
        SerialPortTest::SetUp();
        ASSERT_TRUE(dir.WriteFile("plain.txt", "not a terminal"));
        ASSERT_TRUE(dir.Link("run/COM952", dir / "missing"));
        ASSERT_TRUE(dir.Link("run/COM953", dir / "plain.txt"));
        ASSERT_TRUE(dir.Link("run/COM954", dir.Path()));
    }
};

TEST_P(OpenRefusals, LeaveTheChannelClosedAndThePortFree) {
    const OpenRefusal& c = GetParam();
    EXPECT_EQ(port.Open(c.number, c.rate, 'n', 8, 1, c.handshake), c.expected);
    EXPECT_EQ(port.LastError(), c.error) << std::strerror(port.LastError());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.DeviceName(), "");
    EXPECT_EQ(port.BaudRate(), 0u);
    // Nothing kept the line: another channel takes it at once.
    CSerialPort other;
    other.SetPortDirectory(&directory);
    EXPECT_EQ(OpenDefault(other), PORT_OK);
}

const OpenRefusal kRefusals[] = {
    {"PortZero", 0, 19200, 'n', PORT_FAILED, ENOENT},
    {"PortNegative", -1, 19200, 'n', PORT_FAILED, ENOENT},
    {"NoLinkForNumber", 951, 19200, 'n', PORT_FAILED, ENOENT},
    {"NoDeviceForSerialNumber", 1, 19200, 'n', PORT_FAILED, ENOENT},
    {"NumberOutsideEveryRange", 1000, 19200, 'n', PORT_FAILED, ENOENT},
    {"DanglingLink", 952, 19200, 'n', PORT_FAILED, ENOENT},
    {"RegularFileIsNoTerminal", 953, 19200, 'n', PORT_FAILED, ENOTTY},
    {"DirectoryIsNoTerminal", 954, 19200, 'n', PORT_FAILED, EISDIR},
    {"Rate300", kPort, 300, 'n', PORT_FAILED, EINVAL},
    {"RateZero", kPort, 0, 'n', PORT_FAILED, EINVAL},
    {"Rate56000HasNoTermiosSpeed", kPort, 56000, 'n', PORT_FAILED, EINVAL},
    // Not a failure of the system: nothing to tell beyond the status.
    {"HandshakeX", kPort, 19200, 'x', PORT_BAD_HANDSHAKE, 0},
    // The handshake is judged before the rate is applied.
    {"HandshakeXBeatsBadRate", kPort, 300, 'x', PORT_BAD_HANDSHAKE, 0},
    {"HandshakeXOnMissingPort", 951, 19200, 'x', PORT_FAILED, ENOENT},
};

INSTANTIATE_TEST_SUITE_P(Cases, OpenRefusals, testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, HandshakeXThenNOpensTheSamePort) {
    EXPECT_EQ(port.Open(kPort, 19200, 'n', 8, 1, 'x'), PORT_BAD_HANDSHAKE);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Open(kPort, 19200, 'n', 8, 1, 'n'), PORT_OK);
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(SerialPortTest, SecondOpenerIsRefusedUntilTheFirstCloses) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    CSerialPort second;
    second.SetPortDirectory(&directory);
    EXPECT_EQ(OpenDefault(second), PORT_FAILED);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.LastError(), EWOULDBLOCK);
    EXPECT_EQ(second.LastErrorDevice(), pty.SlavePath());
    EXPECT_EQ(port.Close(), PORT_OK);
    EXPECT_EQ(OpenDefault(second), PORT_OK);
    // A fresh opening starts a fresh story.
    EXPECT_EQ(second.LastError(), 0);
}

TEST_F(SerialPortTest, OpenRecordsDeviceAndRate) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.DeviceName(), pty.SlavePath());
    EXPECT_EQ(port.BaudRate(), 19200u);
    EXPECT_EQ(port.TimeoutMs(), 1000);
}

TEST_F(SerialPortTest, OpenOnOpenChannelKeepsTheFirstSettings) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    const std::string device = port.DeviceName();
    EXPECT_EQ(port.Open(kPort, 9600, 'e', 7, 2, 'x'), PORT_OK);
    EXPECT_EQ(port.DeviceName(), device);
    EXPECT_EQ(port.BaudRate(), 19200u);
    const termios tio = SlaveSettings();
    EXPECT_EQ(cfgetospeed(&tio), B19200);
    EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
}

struct LineCase {
    const char* name;
    uint32_t rate;
    speed_t speed;
    uint8_t stopBits;
    char handshake;
    bool twoStopBits;
};

class LineSettings : public SerialPortTest, public testing::WithParamInterface<LineCase> {};

TEST_P(LineSettings, ReachTheLineAsRawTransferWithoutFlowControl) {
    const LineCase& c = GetParam();
    ASSERT_EQ(port.Open(kPort, c.rate, 'n', 8, c.stopBits, c.handshake), PORT_OK);
    const termios tio = SlaveSettings();
    EXPECT_EQ(cfgetospeed(&tio), c.speed);
    EXPECT_EQ(cfgetispeed(&tio), c.speed);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_cflag & (PARENB | CRTSCTS | HUPCL), 0u);
    EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}

const LineCase kLineCases[] = {
    {"EveryCaller", 19200, B19200, 1, 'n', false},
    {"Rate2400", 2400, B2400, 1, 'n', false},
    {"Rate115200", 115200, B115200, 1, 'n', false},
    {"TwoStopBits", 19200, B19200, 2, 'n', true},
    {"ZeroStopBitsMeansTwo", 19200, B19200, 0, 'n', true},
    {"HandshakeDHasNoFlowControl", 19200, B19200, 1, 'd', false},
    {"UnknownHandshakeHasNoFlowControl", 19200, B19200, 1, 'r', false},
};

INSTANTIATE_TEST_SUITE_P(Cases, LineSettings, testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A pseudo-terminal keeps 8 bits without parity whatever it is told; the channel must see
// that the settings did not take instead of reporting an opened line.
TEST_F(SerialPortTest, SettingsTheLineDoesNotTakeAreRefused) {
    EXPECT_EQ(port.Open(kPort, 19200, 'e', 8, 1, 'n'), PORT_FAILED);
    EXPECT_EQ(port.Open(kPort, 19200, 'o', 8, 1, 'n'), PORT_FAILED);
    EXPECT_EQ(port.Open(kPort, 19200, 'n', 7, 1, 'n'), PORT_FAILED);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(OpenDefault(port), PORT_OK);
}

TEST_F(SerialPortTest, OpenDiscardsInputThatWaitedBefore) {
    ASSERT_TRUE(pty.WriteMaster("old\n"));
    ASSERT_TRUE(pty.WaitSlaveInput(4, 2000));
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    ASSERT_TRUE(pty.WriteMaster("new\n"));
    char buffer[16] = {};
    EXPECT_EQ(port.ReadLine(buffer, sizeof buffer, 1), PORT_OK);
    EXPECT_STREQ(buffer, "new\n");
}

// ---- Closed channel and closing -------------------------------------------------------------

TEST_F(SerialPortTest, ClosedChannelRefusesWithoutTouchingAnything) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    ASSERT_EQ(port.Send("kept"), PORT_OK);
    ASSERT_EQ(port.Close(), PORT_OK);

    EXPECT_EQ(port.Close(), PORT_OK);
    EXPECT_EQ(port.Send("u"), PORT_NOT_OPEN);
    EXPECT_EQ(port.LastLine(), "kept\n");
    char buffer[8] = "before";
    EXPECT_EQ(port.ReadLine(buffer, sizeof buffer, 1), PORT_NOT_OPEN);
    EXPECT_STREQ(buffer, "before");
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.DeviceName(), "");
    EXPECT_EQ(port.BaudRate(), 0u);
}

TEST_F(SerialPortTest, DestroyingAnOpenChannelReleasesThePort) {
    {
        CSerialPort scoped;
        scoped.SetPortDirectory(&directory);
        ASSERT_EQ(OpenDefault(scoped), PORT_OK);
    }
    EXPECT_EQ(OpenDefault(port), PORT_OK);
}

// ---- Sending -------------------------------------------------------------------------------

struct SendCase {
    const char* name;
    std::string text;
    std::string bytes;
};

class SendLines : public SerialPortTest, public testing::WithParamInterface<SendCase> {};

TEST_P(SendLines, WriteTheTextAndOneLineFeed) {
    const SendCase& c = GetParam();
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    EXPECT_EQ(port.Send(c.text), PORT_OK);
    EXPECT_EQ(port.LastLine(), c.bytes);
    EXPECT_EQ(pty.ReadMaster(c.bytes.size(), 2000), c.bytes);
    EXPECT_EQ(pty.ReadMaster(1, 50), "");
}

const SendCase kSends[] = {
    {"ReadRequest", "u", "u\n"},
    {"EmptyText", "", "\n"},
    {"ConfigurationFrame", "u001002030A004005", "u001002030A004005\n"},
    {"CarriageReturnIsNotAdded", "v\r", "v\r\n"},
    {"EightBitBytesPassUnchanged", "\xe9\xff\x01", "\xe9\xff\x01\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SendLines, testing::ValuesIn(kSends),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, SendDiscardsStaleInput) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    ASSERT_TRUE(pty.WriteMaster("TM stale report\n"));
    ASSERT_TRUE(pty.WaitSlaveInput(16, 2000));
    ASSERT_EQ(port.Send("u"), PORT_OK);
    ASSERT_TRUE(pty.WriteMaster("TM fresh\n"));
    char buffer[64] = {};
    EXPECT_EQ(port.ReadLine(buffer, sizeof buffer, 1), PORT_OK);
    EXPECT_STREQ(buffer, "TM fresh\n");
}

TEST_F(SerialPortTest, SendOnHungUpLineFails) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    pty.CloseMaster();
    EXPECT_EQ(port.Send("u"), PORT_FAILED);
    EXPECT_EQ(port.LastLine(), "u\n");
    EXPECT_EQ(port.LastError(), EIO);
}

struct StallCase {
    const char* name;
    bool stopOutput;
    size_t lineBytes;
};

class StalledOutput : public SerialPortTest, public testing::WithParamInterface<StallCase> {};

TEST_P(StalledOutput, EndsAfterTheWriteTimeout) {
    const StallCase& c = GetParam();
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    if (c.stopOutput) {
        ASSERT_EQ(tcflow(pty.Slave(), TCOOFF), 0);
    }
    const auto start = Clock::now();
    const int status = port.Send(std::string(c.lineBytes, 'a'));
    const milliseconds elapsed = Since(start);
    EXPECT_TRUE(status == PORT_INCOMPLETE || status == PORT_FAILED) << status;
    EXPECT_EQ(port.LastError(), ETIMEDOUT);
    EXPECT_GE(elapsed, milliseconds(950));
    EXPECT_LT(elapsed, milliseconds(1000) + kLateMargin);
    if (c.stopOutput) {
        ASSERT_EQ(tcflow(pty.Slave(), TCOON), 0);
    }
    const auto closeStart = Clock::now();
    EXPECT_EQ(port.Close(), PORT_OK);
    EXPECT_LT(Since(closeStart), milliseconds(1000) + kLateMargin);
}

const StallCase kStalls[] = {
    {"OutputStopped", true, 20},
    {"NobodyReadsALongLine", false, 1 << 20},
};

INSTANTIATE_TEST_SUITE_P(Cases, StalledOutput, testing::ValuesIn(kStalls),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Reading -------------------------------------------------------------------------------

struct ReadCase {
    const char* name;
    std::string sent;
    size_t capacity;
    int expected;
    std::string text;
    std::string left;  // what a later read still finds
};

class ReadLines : public SerialPortTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadLines, FollowTheByteRule) {
    const ReadCase& c = GetParam();
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    ASSERT_TRUE(pty.WriteMaster(c.sent));
    ASSERT_TRUE(pty.WaitSlaveInput(c.sent.size(), 2000));
    std::string buffer(c.capacity + 16, '#');
    EXPECT_EQ(port.ReadLine(buffer.data(), c.capacity, 1), c.expected);
    EXPECT_EQ(std::string(buffer.c_str()), c.text);
    EXPECT_EQ(buffer.substr(c.capacity), std::string(16, '#'));

    char rest[256] = {};
    const int restStatus = port.ReadLine(rest, sizeof rest, 0);
    EXPECT_EQ(std::string(rest), c.left);
    EXPECT_EQ(restStatus, PORT_FAILED);  // nothing left ends with a line feed
}

std::string Letters(size_t count, size_t from = 0) {
    std::string text;
    for (size_t i = from; i < from + count; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    return text;
}

const ReadCase kReads[] = {
    {"OneLine", "TM001\nrest", 64, PORT_OK, "TM001\n", "rest"},
    {"CarriageReturnAndLineFeedKept", "LC7\r\n", 64, PORT_OK, "LC7\r\n", ""},
    {"ZeroBytesVanish", std::string("T\0M\0\0\n", 6), 64, PORT_OK, "TM\n", ""},
    {"HundredBytesInSixtyFour", Letters(100), 64, PORT_OK, Letters(63), Letters(36, 64)},
    {"LineFeedJustFitting", "abc\n", 5, PORT_OK, "abc\n", ""},
    {"LineFeedOneTooMany", "abcd\nx", 5, PORT_OK, "abcd", "x"},
    {"CapacityOneDropsOneByte", "xy", 1, PORT_OK, "", "y"},
    {"NoLineFeedTimesOut", "TM0", 64, PORT_FAILED, "TM0", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadLines, testing::ValuesIn(kReads),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Reading within a budget, serving along the way ---------------------------------------

// Waits as it is asked to and notes when it held the wait: a window is served only while its
// service holds the wait, so the longest time the read went on outside it is what counts.
class ServeClock final : public IWaitService {
public:
    int Wait(pollfd& port, const CDeadline& until) override {
        const Clock::time_point begin = Clock::now();
        const int ready = Poll(port, until);
        held.push_back({begin, Clock::now()});
        return ready;
    }
    milliseconds LongestGap(Clock::time_point start, Clock::time_point end) const {
        milliseconds longest{0};
        Clock::time_point last = start;
        for (const auto& [begin, done] : held) {
            longest = std::max(longest, std::chrono::duration_cast<milliseconds>(begin - last));
            last = done;
        }
        return std::max(longest, std::chrono::duration_cast<milliseconds>(end - last));
    }
    std::vector<std::pair<Clock::time_point, Clock::time_point>> held;
};

struct BudgetCase {
    const char* name;
    std::string byte;  // sent again and again, `paceMs` apart; empty: a silent line
    int paceMs;
    int64_t budgetMs;
    int expected;
    milliseconds ends;  // when the read should end
};

class BudgetedReads : public SerialPortTest, public testing::WithParamInterface<BudgetCase> {};

TEST_P(BudgetedReads, EndByTheBudgetAndServeEveryTenthOfASecond) {
    const BudgetCase& c = GetParam();
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    std::atomic<bool> stop{false};
    std::thread device([&] {
        while (!c.byte.empty() && !stop && pty.WriteMaster(c.byte)) {
            std::this_thread::sleep_for(milliseconds(c.paceMs));
        }
    });
    ServeClock service;
    char buffer[64] = {};
    const auto start = Clock::now();
    const int status = port.ReadLine(buffer, sizeof buffer, 1000, c.budgetMs, &service);
    const auto end = Clock::now();
    stop = true;
    device.join();

    EXPECT_EQ(status, c.expected);
    EXPECT_GE(end - start, c.ends - milliseconds(20));
    EXPECT_LT(end - start, c.ends + milliseconds(500));
    EXPECT_LT(service.LongestGap(start, end), milliseconds(100));
    if (c.expected != PORT_OK) {
        EXPECT_EQ(port.LastError(), ETIMEDOUT);
    }
}

const BudgetCase kBudgets[] = {
    {"ZeroStreamEndsAtTheBudget", std::string(1, '\0'), 2, 2000, PORT_FAILED, milliseconds(2000)},
    {"NoiseDripEndsAtTheBudget", "x", 300, 2000, PORT_FAILED, milliseconds(2000)},
    {"SilenceStillEndsAtTheByteTimeOut", "", 0, 3000, PORT_FAILED, milliseconds(1000)},
    {"ShortBudgetCutsTheByteTimeOut", "", 0, 400, PORT_FAILED, milliseconds(400)},
};

INSTANTIATE_TEST_SUITE_P(Cases, BudgetedReads, testing::ValuesIn(kBudgets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, CapacityZeroIsRefusedAndNothingWritten) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    ASSERT_TRUE(pty.WriteMaster("x\n"));
    char canary = '#';
    EXPECT_EQ(port.ReadLine(&canary, 0, 1), PORT_FAILED);
    EXPECT_EQ(canary, '#');
    EXPECT_EQ(port.ReadLine(nullptr, 16, 1), PORT_FAILED);
}

TEST_F(SerialPortTest, SilentLineTimesOutAfterTheByteTimeout) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    char buffer[16] = "old";
    const auto start = Clock::now();
    EXPECT_EQ(port.ReadLine(buffer, sizeof buffer, 1), PORT_FAILED);
    const milliseconds elapsed = Since(start);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(port.LastError(), ETIMEDOUT);
    EXPECT_GE(elapsed, milliseconds(990));
    EXPECT_LT(elapsed, milliseconds(1000) + kLateMargin);
}

TEST_F(SerialPortTest, DrippingReplyIsReadWhole) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    const std::string reply = "TM1\r\n";
    std::thread device([&] {
        for (char byte : reply) {
            std::this_thread::sleep_for(milliseconds(300));
            pty.WriteMaster(std::string(1, byte));
        }
    });
    char buffer[64] = {};
    const int status = port.ReadLine(buffer, sizeof buffer, 1);
    device.join();
    EXPECT_EQ(status, PORT_OK);
    EXPECT_STREQ(buffer, reply.c_str());
}

TEST_F(SerialPortTest, PauseLongerThanTheTimeoutKeepsTheRestQueued) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    ASSERT_TRUE(pty.WriteMaster("TM0"));
    char buffer[64] = {};
    EXPECT_EQ(port.ReadLine(buffer, sizeof buffer, 1), PORT_FAILED);
    EXPECT_STREQ(buffer, "TM0");
    ASSERT_TRUE(pty.WriteMaster("12\n"));
    EXPECT_EQ(port.ReadLine(buffer, sizeof buffer, 1), PORT_OK);
    EXPECT_STREQ(buffer, "12\n");
}

TEST_F(SerialPortTest, HangUpMidReplyFailsAtOnce) {
    ASSERT_EQ(OpenDefault(port), PORT_OK);
    ASSERT_TRUE(pty.WriteMaster("TM0"));
    ASSERT_TRUE(pty.WaitSlaveInput(3, 2000));
    std::thread unplug([&] {
        std::this_thread::sleep_for(milliseconds(100));
        pty.CloseMaster();
    });
    char buffer[64] = {};
    const auto start = Clock::now();
    const int status = port.ReadLine(buffer, sizeof buffer, 10);
    const milliseconds elapsed = Since(start);
    unplug.join();
    EXPECT_EQ(status, PORT_FAILED);
    EXPECT_LT(elapsed, milliseconds(2000));
    EXPECT_STREQ(buffer, "TM0");
    // Told apart from a silent device.
    EXPECT_EQ(port.LastError(), EIO);
    // The line is gone; the channel still closes cleanly.
    EXPECT_EQ(port.Close(), PORT_OK);
}

void IgnoreSignal(int) {}

TEST_F(SerialPortTest, SignalStormDoesNotStretchTheTimeout) {
    struct sigaction quiet {};
    quiet.sa_handler = IgnoreSignal;
    sigemptyset(&quiet.sa_mask);
    quiet.sa_flags = 0;  // no SA_RESTART: every signal interrupts the wait
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGUSR1, &quiet, &previous), 0);
    ASSERT_EQ(OpenDefault(port), PORT_OK);

    std::atomic<bool> done{false};
    int status = -1;
    milliseconds elapsed{0};
    std::thread reader([&] {
        char buffer[16] = {};
        const auto start = Clock::now();
        status = port.ReadLine(buffer, sizeof buffer, 1);
        elapsed = Since(start);
        done = true;
    });
    // Bounded, so that a wait that restarts on every signal shows as too long, not as a hang.
    const auto stormEnd = std::chrono::steady_clock::now() + milliseconds(5000);
    unsigned sent = 0;
    while (!done && std::chrono::steady_clock::now() < stormEnd) {
        pthread_kill(reader.native_handle(), SIGUSR1);
        ++sent;
        std::this_thread::sleep_for(milliseconds(3));
    }
    reader.join();
    sigaction(SIGUSR1, &previous, nullptr);

    EXPECT_GT(sent, 50u);
    EXPECT_EQ(status, PORT_FAILED);
    EXPECT_GE(elapsed, milliseconds(990));
    EXPECT_LT(elapsed, milliseconds(1000) + kLateMargin);
}

}  // namespace
