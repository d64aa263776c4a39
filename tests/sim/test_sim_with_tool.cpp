#include "CExchange.h"
#include "CPortDirectory.h"
#include "CSerialPort.h"
#include "CSystemClock.h"
#include "Frames.h"
#include "SimFixture.h"

namespace {

class CRecordingHost final : public IExchangeHost {
public:
    void SetStatusText(const std::string& text) override { status = text; }
    void Refresh() override {}
    void RepaintStatus() override {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void AfterConfigSent(int32_t id) override { sentIds.push_back(id); }

    std::string status;
    std::vector<std::string> messages;
    std::vector<int32_t> sentIds;
};

struct ToolRow {
    const char* name;
    const char* device;
    std::vector<std::string> args;
    std::string report;  // the line the tool must have accepted
};

void PrintTo(const ToolRow& row, std::ostream* os) {
    *os << row.name;
}

// The tool's own channel and exchange against the simulator: every device behaviour the
// tool copes with must end in the report being decoded, at the first try.
class WithTool : public SimFixture, public ::testing::WithParamInterface<ToolRow> {
protected:
    CPortDirectory Directory() const {
        CPortDirectory::Roots roots;
        roots.runtime = runtime;
        return CPortDirectory(roots);
    }
};

TEST_P(WithTool, SendConfigDecodesTheReadBack) {
    const ToolRow& row = GetParam();
    ASSERT_TRUE(StartSim(row.device, row.args));
    pc.Close();
    const CPortDirectory directory = Directory();
    CSerialPort port;
    port.SetPortDirectory(&directory);
    CRecordingHost host;
    CExchange exchange(port, host, CSystemClock::Instance());
    const ParameterSet params{5, 12, 7, "A", 3, 100};
    exchange.SendConfig(params, sim.PortNumber(), kSensorVariant);

    EXPECT_EQ(host.status, DecodeReport(row.report));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.sentIds, std::vector<int32_t>{5});
    // With --answer-frame the tool may take the answer to the frame before "u" is read.
    ASSERT_TRUE(sim.WaitForOutput(" RX u\n", 3000));
    const std::vector<std::string> expectedLines = {kFrame.substr(0, 16), "u"};
    EXPECT_EQ(sim.ReceivedLines(), expectedLines);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, WithTool,
    ::testing::Values(ToolRow{"plain", "repeater", {}, kFrameReport + "\n"},
                      ToolRow{"sensor_spaced",
                              "sensor",
                              {"--spaced"},
                              "LC 01 02 03  V14  005  012  100  007  003  A00\n"},
                      ToolRow{
                          "echo_and_noise", "repeater", {"--echo", "--noise"}, kFrameReport + "\n"},
                      ToolRow{"crlf", "repeater", {"--crlf"}, kFrameReport + "\r\n"},
                      ToolRow{"zero_bytes", "repeater", {"--zero-bytes"}, kFrameReport + "\n"},
                      ToolRow{"long_line",
                              "repeater",
                              {"--long"},
                              (kFrameReport + std::string(131, '-')).substr(0, 63)},
                      ToolRow{"answer_frame", "any", {"--answer-frame"}, kFrameReport + "\n"},
                      ToolRow{"dripping", "repeater", {"--drip", "5"}, kFrameReport + "\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WithTool, ReadModemDecodesTheModemReport) {
    ASSERT_TRUE(StartSim("modem", {"--crlf"}));
    ASSERT_TRUE(pc.Send("p 042\n"));
    ASSERT_TRUE(sim.WaitForOutput(" RX p 042\n", 3000));
    pc.Close();
    const CPortDirectory directory = Directory();
    CSerialPort port;
    port.SetPortDirectory(&directory);
    CRecordingHost host;
    CExchange(port, host, CSystemClock::Instance()).ReadModem(sim.PortNumber());
    EXPECT_EQ(host.status, DecodeReport("US010203V14000255100042000000\r\n"));
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
