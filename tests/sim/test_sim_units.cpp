#include <gtest/gtest.h>

#include <vector>

#include "CDeviceModel.h"
#include "CTrace.h"
#include "Frames.h"
#include "Reports.h"

namespace {

DeviceReport Distinct() {
    DeviceReport r;
    r.prefix = "LC";
    r.shortFields = {"11", "22", "33"};
    r.version = "V99";
    r.id = 1;
    r.chf = 2;
    r.oft = 3;
    r.p0 = 4;
    r.prt = 5;
    r.typ = "Q00";
    return r;
}

TEST(ReportLayout, PiecesStandWhereTheReaderCutsThem) {
    struct Row {
        bool spaced;
        size_t length;
        std::vector<size_t> at;  // VER, ID, CHF, OFT, P0, PRT, TYP
    };
    const std::vector<std::string> pieces = {"V99", "001", "002", "003", "004", "005", "Q00"};
    for (const Row& row : {Row{false, 29, {8, 11, 14, 17, 20, 23, 26}},
                           Row{true, 46, {13, 18, 23, 28, 33, 38, 43}}}) {
        const std::string line = FormatReport(Distinct(), row.spaced);
        SCOPED_TRACE(line);
        ASSERT_EQ(line.size(), row.length);
        EXPECT_EQ(line.substr(0, 2), "LC");
        for (size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(line.substr(row.at[i], 3), pieces[i]) << "piece " << i;
        }
    }
    EXPECT_EQ(DecodeReport(FormatReport(Distinct(), true) + "\n"),
              DecodeReport(FormatReport(Distinct(), false) + "\n"));
}

TEST(ConfigFrameParse, ReadsP0WidthFromFrameLength) {
    struct Row {
        const char* line;
        bool valid;
        ConfigFrame frame;
    };
    const Row rows[] = {
        {"u00501207A003100", true, {5, 12, 7, 'A', 3, 100}},
        {"u005012100A003100", true, {5, 12, 100, 'A', 3, 100}},
        {"u255255995255255", true, {255, 255, 99, '5', 255, 255}},
        {"u00501207 003100", true, {5, 12, 7, ' ', 3, 100}},
        {"u0050120A003100", false, {}},    // TYP missing
        {"u00501207A0031000", false, {}},  // one digit too many
        {"u00x01207A003100", false, {}},
        {"u0050120 A003100", false, {}},
        {"v00501207A003100", false, {}},
        {"u", false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const auto frame = ParseConfigFrame(row.line);
        ASSERT_EQ(frame.has_value(), row.valid);
        if (frame) {
            EXPECT_EQ(frame->id, row.frame.id);
            EXPECT_EQ(frame->chf, row.frame.chf);
            EXPECT_EQ(frame->p0, row.frame.p0);
            EXPECT_EQ(frame->typ, row.frame.typ);
            EXPECT_EQ(frame->prt, row.frame.prt);
            EXPECT_EQ(frame->oft, row.frame.oft);
        }
    }
}

TEST(ModemCommandParse, KeepsOneByteOfAnyWholeNumber) {
    struct Row {
        std::string line;
        bool valid;
        char letter;
        int32_t value;
    };
    const Row rows[] = {
        {"p 007", true, 'p', 7},
        {"c 255", true, 'c', 255},
        {"o 0042", true, 'o', 42},
        {"t -001", true, 't', 255},
        {"i 1000", true, 'i', 232},
        {"r 000", true, 'r', 0},
        {"p007", false, 0, 0},
        {"p  007", false, 0, 0},
        {"x 007", false, 0, 0},
        {"p 12x", false, 0, 0},
        {"p ", false, 0, 0},
        {"p -", false, 0, 0},
        {"p +7", false, 0, 0},
        {std::string("\0 007", 5), false, 0, 0},
        {"p 99999999999999999999", false, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const auto command = ParseModemCommand(row.line);
        ASSERT_EQ(command.has_value(), row.valid);
        if (command) {
            EXPECT_EQ(command->letter, row.letter);
            EXPECT_EQ(command->value, row.value);
        }
    }
}

TEST(TraceEscape, ShowsEveryByteOnOneLine) {
    EXPECT_EQ(CTrace::Escape("u\r\n"), "u\\r\\n");
    EXPECT_EQ(CTrace::Escape(std::string("\x01\xff\0", 3)), "\\x01\\xFF\\x00");
    EXPECT_EQ(CTrace::Escape("a\\b ~"), "a\\\\b ~");
}

}  // namespace
