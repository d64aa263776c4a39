#include <chrono>

#include "SimFixture.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct FaultRow {
    const char* name;
    std::vector<std::string> args;
    std::string expected;  // every byte the PC gets for kFrame + "u"
};

void PrintTo(const FaultRow& row, std::ostream* os) {
    *os << row.name;
}

class LineFault : public SimFixture, public ::testing::WithParamInterface<FaultRow> {};

TEST_P(LineFault, PutsExactlyTheseBytesOnTheLine) {
    const FaultRow& row = GetParam();
    ASSERT_TRUE(StartSim("repeater", row.args));
    ASSERT_TRUE(pc.Send(kFrame + "u\n"));
    EXPECT_EQ(pc.ReadBytes(row.expected.size()), row.expected);
    // The answer to "u" went out right after the device printed it got "u".
    ASSERT_TRUE(sim.WaitForOutput(" RX u\n", 3000));
    EXPECT_EQ(pc.ReadBytes(1, 200), "") << "more bytes than expected";
}

const std::string kNoise = "#~ line noise ~#";
const std::string kZeroed =
    "TM" + std::string(1, '\0') + kFrameReport.substr(2, 24) + std::string(1, '\0') + "A00\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, LineFault,
    ::testing::Values(
        FaultRow{"silent", {"--silent"}, ""},
        FaultRow{"lowercase", {"--lowercase"}, "tm" + kFrameReport.substr(2) + "\n"},
        FaultRow{"lowercase_spaced",
                 {"--lowercase", "--spaced"},
                 "tm 01 02 03  V14  005  012  100  007  003  A00\n"},
        FaultRow{"no_lf", {"--no-lf"}, kFrameReport},
        FaultRow{"crlf", {"--crlf"}, kFrameReport + "\r\n"},
        FaultRow{"noise", {"--noise"}, kNoise + "\n" + kFrameReport + "\n"},
        FaultRow{"noise_crlf", {"--noise", "--crlf"}, kNoise + "\r\n" + kFrameReport + "\r\n"},
        FaultRow{"echo", {"--echo"}, kFrame + "u\n" + kFrameReport + "\n"},
        FaultRow{"zero_bytes", {"--zero-bytes"}, kZeroed},
        FaultRow{"terminal_codes",
                 {"--terminal-codes"},
                 "TM\x1b]0;pwned\x07\x1b[2J" + kFrameReport.substr(2) + "\n"},
        FaultRow{"long", {"--long"}, kFrameReport + std::string(131, '-') + "\n"},
        FaultRow{"answer_frame", {"--answer-frame"}, kFrameReport + "\n" + kFrameReport + "\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TimingRow {
    const char* name;
    std::vector<std::string> args;
    int64_t minFirstByteMs;
    int64_t minSpanMs;  // from the first byte of the report to its last
};

void PrintTo(const TimingRow& row, std::ostream* os) {
    *os << row.name;
}

class TimingFault : public SimFixture, public ::testing::WithParamInterface<TimingRow> {};

TEST_P(TimingFault, SlowsTheReportDown) {
    const TimingRow& row = GetParam();
    ASSERT_TRUE(StartSim("repeater", row.args));
    const Clock::time_point sent = Clock::now();
    ASSERT_TRUE(pc.Send("u\n"));
    const std::string first = pc.ReadBytes(1);
    const int64_t firstMs = MsSince(sent);
    const Clock::time_point firstAt = Clock::now();
    const std::string rest = pc.ReadLine();
    const int64_t spanMs = MsSince(firstAt);
    EXPECT_EQ(first + rest, kFactoryReport + "\n");
    EXPECT_GE(firstMs, row.minFirstByteMs);
    EXPECT_GE(spanMs, row.minSpanMs);
}

// The drip pause is 20 ms between each of the 30 bytes; a loaded machine may deliver the
// first byte late, so only most of the 580 ms is asked for.
INSTANTIATE_TEST_SUITE_P(
    Faults, TimingFault,
    ::testing::Values(TimingRow{"delay", {"--delay", "300"}, 300, 0},
                      TimingRow{"drip", {"--drip", "20"}, 0, 450},
                      TimingRow{"delay_and_drip", {"--delay", "200", "--drip", "20"}, 200, 450}),
    [](const auto& info) { return std::string(info.param.name); });

using HangUp = SimFixture;

TEST_F(HangUp, MidReplyCutsTheLineWithdrawsTheLinkAndExits) {
    ASSERT_TRUE(StartSim("repeater", {"--hangup-mid"}));
    ASSERT_TRUE(pc.Send(kFrame + "u\n"));
    EXPECT_EQ(pc.ReadBytes(15), kFrameReport.substr(0, 15));
    EXPECT_TRUE(pc.WaitHangUp(3000));
    EXPECT_TRUE(sim.WaitForExit(5000));
    EXPECT_EQ(sim.ExitCode(), 0);
    EXPECT_TRUE(sim.Stop());  // true: exited, and the link is gone
}

TEST_F(HangUp, StopSignalCutsAnyPauseShort) {
    for (const char* pause : {"--delay", "--drip"}) {
        SCOPED_TRACE(pause);
        ASSERT_TRUE(StartSim("repeater", {pause, "60000"}));
        ASSERT_TRUE(pc.Send("u\n"));
        ASSERT_TRUE(sim.WaitForOutput(" RX u\n", 3000));
        const Clock::time_point start = Clock::now();
        EXPECT_TRUE(sim.Stop());
        EXPECT_LT(MsSince(start), 3000);
    }
}

}  // namespace
