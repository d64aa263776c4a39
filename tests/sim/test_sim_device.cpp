
#include "SimFixture.h"

namespace {

// "hh:mm:ss.mmm"
bool IsTimestamp(const std::string& text) {
    static const std::string shape = "00:00:00.000";
    if (text.size() != shape.size()) {
        return false;
    }
    for (size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == '0' ? !digit : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

struct ExchangeRow {
    const char* name;
    const char* device;
    std::vector<std::string> extra;
    std::string sent;
    std::string expected;  // every byte back, in order
};

void PrintTo(const ExchangeRow& row, std::ostream* os) {
    *os << row.name;
}

class Exchange : public SimFixture, public ::testing::WithParamInterface<ExchangeRow> {};

TEST_P(Exchange, AnswersWithTheReportForItsState) {
    const ExchangeRow& row = GetParam();
    ASSERT_TRUE(StartSim(row.device, row.extra));
    ASSERT_TRUE(pc.Send(row.sent));
    EXPECT_EQ(pc.ReadBytes(row.expected.size()), row.expected);
}

const std::string kModemFactory = "US010203V14000255100060000000\n";

INSTANTIATE_TEST_SUITE_P(
    Reports, Exchange,
    ::testing::Values(
        ExchangeRow{"factory_values", "repeater", {}, "u\n", kFactoryReport + "\n"},
        ExchangeRow{"repeater_compact", "repeater", {}, kFrame + "u\n", kFrameReport + "\n"},
        ExchangeRow{
            "sensor_compact", "sensor", {}, kFrame + "u\n", "LC" + kFrameReport.substr(2) + "\n"},
        ExchangeRow{"any_answers_u_as_repeater", "any", {}, kFrame + "u\n", kFrameReport + "\n"},
        ExchangeRow{"repeater_spaced",
                    "repeater",
                    {"--spaced"},
                    kFrame + "u\n",
                    "TM 01 02 03  V14  005  012  100  007  003  A00\n"},
        ExchangeRow{"p0_100_takes_three_digits",
                    "repeater",
                    {},
                    "u005012100A003100\nu\n",
                    "TM010203V14005012100100003A00\n"},
        ExchangeRow{"p0_255_spaced_sensor",
                    "sensor",
                    {"--spaced"},
                    "u010020255B004200\nu\n",
                    "LC 01 02 03  V14  010  020  200  255  004  B00\n"},
        ExchangeRow{"last_frame_wins",
                    "repeater",
                    {},
                    kFrame + "u24000199Z002003\nu\n",
                    "TM010203V14240001003099002Z00\n"},
        // Had any of the first lines been answered, its answer would come first.
        ExchangeRow{"unknown_lines_ignored",
                    "repeater",
                    {},
                    "hello\nu0050120A003100\nv\np 007\nu\n",
                    kFactoryReport + "\n"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Modem, Exchange,
    ::testing::Values(
        ExchangeRow{"factory_values", "modem", {}, "v\n", kModemFactory},
        ExchangeRow{"every_parameter",
                    "modem",
                    {},
                    "i 007\nc 012\np 100\nr 003\nt 255\no 100\nv\n",
                    "US010203V14007012100100003255\n"},
        ExchangeRow{"negative_and_wide_values",
                    "modem",
                    {},
                    "t -001\ni 1000\nv\n",
                    "US010203V14232255100060000255\n"},
        ExchangeRow{"spaced",
                    "modem",
                    {"--spaced"},
                    "p 042\nv\n",
                    "US 01 02 03  V14  000  255  100  042  000  000\n"},
        ExchangeRow{
            "ignores_repeater_requests", "modem", {}, "u\n" + kFrame + "v\n", kModemFactory},
        ExchangeRow{"any_keeps_both_sets_apart",
                    "any",
                    {},
                    kFrame + "p 042\nv\nu\n",
                    "US010203V14000255100042000000\n" + kFrameReport + "\n"}),
    [](const auto& info) { return std::string(info.param.name); });

using Stream = SimFixture;

TEST_F(Stream, NextDeviceComesFreshAfterWriteAndReadBack) {
    ASSERT_TRUE(StartSim("repeater", {"--stream"}));
    ASSERT_TRUE(pc.Send("u\n"));
    ASSERT_EQ(pc.ReadLine(), kFactoryReport + "\n");  // a read alone plugs nothing

    ASSERT_TRUE(pc.Send(kFrame + "u\n"));
    EXPECT_EQ(pc.ReadLine(), kFrameReport + "\n");
    ASSERT_TRUE(sim.WaitForOutput("PLUG device 2\n", 3000));
    ASSERT_TRUE(pc.Send("u\n"));
    EXPECT_EQ(pc.ReadLine(), kFactoryReport + "\n");

    ASSERT_TRUE(pc.Send("u005012100A003100\nu\n"));
    EXPECT_EQ(pc.ReadLine(), "TM010203V14005012100100003A00\n");
    ASSERT_TRUE(sim.WaitForOutput("PLUG device 3\n", 3000));
    const std::string output = sim.Output();
    EXPECT_LT(output.find("TX " + kFrameReport), output.find("PLUG device 2"));
    EXPECT_EQ(output.find("PLUG device 2"), output.rfind("PLUG device 2"));
}

TEST_F(Stream, ModemTrafficPlugsNothingButTheNextDeviceForgetsIt) {
    ASSERT_TRUE(StartSim("any", {"--stream"}));
    ASSERT_TRUE(pc.Send("p 042\nv\n"));
    EXPECT_EQ(pc.ReadLine(), "US010203V14000255100042000000\n");
    ASSERT_TRUE(pc.Send(kFrame + "u\nv\n"));
    EXPECT_EQ(pc.ReadLine(), kFrameReport + "\n");
    EXPECT_EQ(pc.ReadLine(), kModemFactory);
    EXPECT_EQ(sim.Output().find("PLUG device 3"), std::string::npos);
    EXPECT_NE(sim.Output().find("PLUG device 2\n"), std::string::npos);
}

using Received = SimFixture;

TEST_F(Received, LogHoldsExactlyTheBytesAndOutputShowsThem) {
    ASSERT_TRUE(StartSim("repeater"));
    const std::string odd("\x01\xff\0z\n", 5);
    // Longer than the device keeps as one line: it is handled without waiting for its end.
    const std::string first = "u\r\n" + odd + std::string(5000, 'x');
    ASSERT_TRUE(pc.Send(first));
    EXPECT_EQ(pc.ReadLine(), kFactoryReport + "\n");  // to "u\r"
    EXPECT_TRUE(sim.WaitForOutput(" RX " + std::string(4096, 'x') + "\n", 3000));
    const std::string second = "\n" + kFrame + "u\n";
    ASSERT_TRUE(pc.Send(second));
    EXPECT_EQ(pc.ReadLine(), kFrameReport + "\n");
    EXPECT_EQ(sim.ReceivedBytes(), first + second);

    const std::vector<std::string> lines = sim.ReceivedLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "u\r");
    EXPECT_EQ(lines[1], odd.substr(0, 4));
    EXPECT_EQ(lines[2].size(), 5000u);
    EXPECT_EQ(lines[4], "u");

    const std::string output = sim.Output();
    EXPECT_NE(output.find(" RX \\x01\\xFF\\x00z\n"), std::string::npos);
    const std::string tail = " RX u00501207A003100\n";
    const size_t at = output.find(tail);
    ASSERT_NE(at, std::string::npos);
    ASSERT_GE(at, 13u);
    EXPECT_EQ(output[at - 13], '\n');
    EXPECT_TRUE(IsTimestamp(output.substr(at - 12, 12))) << output.substr(at - 12, 12);
    const size_t next = at + tail.size();
    EXPECT_TRUE(IsTimestamp(output.substr(next, 12)));
    EXPECT_EQ(output.substr(next + 12, 6), " RX u\n");
    EXPECT_TRUE(IsTimestamp(output.substr(next + 18, 12)));
    EXPECT_EQ(output.substr(next + 30, 5 + kFrameReport.size()), " TX " + kFrameReport + "\n");
}

}  // namespace
