#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Frames.h"
#include "Parameters.h"
#include "Verdict.h"

namespace {

// Each parameter's piece in this report is its own, so a wrong report position shows.
const std::string kSpacedReport = "TM 01 02 03  V12  005  012  100  007  003  A00\n";
constexpr ValueRange kByte{0, 255};
constexpr ValueRange kNetworkId{1, 240};

struct ParameterRow {
    Param param;
    const char* name;
    const char* reported;      // its piece of kSpacedReport
    int32_t modemNumber;       // as the modem page and the command line number it
    const char* modemCommand;  // BuildModemCommand(modemNumber, 7)
    size_t frameAt;            // where its value starts in a frame with a two-digit P0
    ValueRange page;
    std::optional<ValueRange> modem;
    bool clientConfig;
    bool clientModem;
};

void PrintTo(const ParameterRow& row, std::ostream* os) {
    *os << row.name;
}

class ParameterTable : public testing::TestWithParam<ParameterRow> {};

// Every other value at zero, so that only this parameter's digits can stand at frameAt.
std::optional<std::string> FrameWith(const ParameterInfo& info, int32_t value) {
    ParameterSet params{0, 0, 0, "0", 0, 0};
    if (info.member != nullptr) {
        params.*info.member = value;
    } else {
        params.TYP = "Z";
    }
    return BuildConfigFrame(params);
}

TEST_P(ParameterTable, FramesReportsAndRangesAgree) {
    const ParameterRow& row = GetParam();
    const ParameterInfo& info = InfoOf(row.param);
    EXPECT_EQ(ParameterNamed(row.name), &info);
    EXPECT_EQ(CutReportValues(kSpacedReport)[row.param], row.reported);
    EXPECT_EQ(ParameterOfModemNumber(row.modemNumber), &info);
    EXPECT_EQ(BuildModemCommand(row.modemNumber, 7), row.modemCommand);

    const auto frame = FrameWith(info, kByteRange.max);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->substr(row.frameAt, info.member != nullptr ? 3 : 1),
              info.member != nullptr ? "255" : "Z");
    if (info.member != nullptr) {
        EXPECT_EQ(FrameWith(info, kByteRange.max + 1), std::nullopt);
        EXPECT_EQ(FrameWith(info, kByteRange.min - 1), std::nullopt);
    }

    for (const ValueRange& range : {info.custom, info.page}) {
        EXPECT_TRUE(range.Contains(range.min) && range.Contains(range.max));
        EXPECT_FALSE(range.Contains(range.min - 1) || range.Contains(range.max + 1));
    }
    EXPECT_EQ(info.custom, kByte);
    EXPECT_EQ(info.page, row.page);
    EXPECT_EQ(info.modem, row.modem);
    EXPECT_EQ(info.clientConfig, row.clientConfig);
    EXPECT_EQ(info.clientModem, row.clientModem);
}

// The report's order; the frame's is ID CHF P0 TYP PRT OFT, the modem's i c p r t o.
INSTANTIATE_TEST_SUITE_P(
    Parameters, ParameterTable,
    testing::Values(
        ParameterRow{Param::ID, "ID", "005", 1, "i 007", 1, kNetworkId, kByte, true, false},
        ParameterRow{Param::CHF, "CHF", "012", 2, "c 007", 4, kByte, kByte, false, false},
        ParameterRow{Param::OFT, "OFT", "100", 6, "o 007", 13, kByte, kByte, false, false},
        ParameterRow{Param::P0, "P0", "007", 3, "p 007", 7, kByte, kByte, false, true},
        ParameterRow{Param::PRT, "PRT", "003", 4, "r 007", 10, kByte, kByte, false, false},
        ParameterRow{Param::TYP, "TYP", "A00", 5, "t 007", 9, kByte, std::nullopt, false, false}),
    [](const testing::TestParamInfo<ParameterRow>& info) { return std::string(info.param.name); });

TEST(ParameterTable, NamesOutsideTheTableAndTheirRefusals) {
    EXPECT_EQ(ParameterNamed("TYPE"), nullptr);
    EXPECT_EQ(ParameterNamed("id"), nullptr);
    EXPECT_EQ(ParameterOfModemNumber(0), nullptr);
    EXPECT_EQ(ParameterOfModemNumber(7), nullptr);
    EXPECT_EQ(RefusalTexts::OutOfRange(kNetworkId),
              "Tapez un nombre entier compris entre 1 et 240.");
    for (const int32_t type : {kModemTypeLow, kModemTypeHigh}) {
        EXPECT_TRUE(IsModemTypeAllowed(type)) << type;
    }
    for (const int32_t type : {-1, 1, 254, 256}) {
        EXPECT_FALSE(IsModemTypeAllowed(type)) << type;
    }
}

}  // namespace
