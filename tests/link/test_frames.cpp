#include <gtest/gtest.h>
#include <iconv.h>

#include <climits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Frames.h"
#include "Verdict.h"

namespace {

using namespace std::string_literals;

// Rows print as their names when a case fails.
template <typename Row>
requires requires(const Row& r) {
    r.name;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// ---- configuration frames -------------------------------------------------------------

struct ConfigFrameRow {
    std::string name;
    ParameterSet params;
    std::optional<std::string> frame;
};

class ConfigFrame : public testing::TestWithParam<ConfigFrameRow> {};

// A frame built reads back into what it carries: every number, and TYP's first byte.
TEST_P(ConfigFrame, Builds) {
    const ConfigFrameRow& row = GetParam();
    EXPECT_EQ(BuildConfigFrame(row.params), row.frame);
    if (row.frame) {
        const std::optional<ParameterSet> back = ParameterSetOfFrame(*row.frame);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->ID, row.params.ID);
        EXPECT_EQ(back->CHF, row.params.CHF);
        EXPECT_EQ(back->P0, row.params.P0);
        EXPECT_EQ(back->TYP, row.params.TYP.substr(0, 1));
        EXPECT_EQ(back->PRT, row.params.PRT);
        EXPECT_EQ(back->OFT, row.params.OFT);
        std::string fields;
        for (const ParameterInfo& info : kParameters) {
            fields += FrameField(*back, info.param);
        }
        EXPECT_EQ(fields.size() + 1, row.frame->size());
    }
}

// Texts that are not a configuration frame read back as none.
struct NotFrameRow {
    std::string name;
    std::string text;
};

class NotConfigFrame : public testing::TestWithParam<NotFrameRow> {};

TEST_P(NotConfigFrame, ReadsBackAsNone) {
    EXPECT_FALSE(ParameterSetOfFrame(GetParam().text).has_value());
}

INSTANTIATE_TEST_SUITE_P(Frames, NotConfigFrame,
                         testing::Values(NotFrameRow{"TypMissing", "u0050120A003100"},
                                         NotFrameRow{"OneDigitTooMany", "u00501207A0031000"},
                                         NotFrameRow{"LetterInId", "u00x01207A003100"},
                                         NotFrameRow{"SpaceInP0", "u0050120 A003100"},
                                         NotFrameRow{"OtherLetter", "v00501207A003100"},
                                         NotFrameRow{"SignInOft", "u00501207A003-10"},
                                         NotFrameRow{"ReadRequest", "u"}, NotFrameRow{"Empty", ""}),
                         RowName<NotFrameRow>);

INSTANTIATE_TEST_SUITE_P(
    Frames, ConfigFrame,
    testing::Values(
        ConfigFrameRow{"TwoDigitP0Gives16Chars", {5, 12, 7, "A", 3, 100}, "u00501207A003100"},
        ConfigFrameRow{
            "P0Of100Gives17CharsTypAt10", {5, 12, 100, "A", 3, 100}, "u005012100A003100"},
        ConfigFrameRow{"AllZero", {0, 0, 0, "0", 0, 0}, "u000000000000000"},
        ConfigFrameRow{"AllAt255", {255, 255, 255, "Z", 255, 255}, "u255255255Z255255"},
        ConfigFrameRow{"EveryDigitReadInPlace", {201, 199, 99, "B", 87, 254}, "u20119999B087254"},
        ConfigFrameRow{"LongTypSendsFirstByteOnly", {1, 2, 3, "XYZ", 4, 5}, "u00100203X004005"},
        ConfigFrameRow{"Latin1TypByteKept",
                       {1, 2, 3, "\xE9t\xE9", 4, 5},
                       "u00100203\xE9"
                       "004005"},
        ConfigFrameRow{"EmptyTypRefused", {1, 2, 3, "", 4, 5}, std::nullopt},
        ConfigFrameRow{"ZeroByteTypRefused", {1, 2, 3, "\0A"s, 4, 5}, std::nullopt},
        ConfigFrameRow{"LineFeedTypRefused", {1, 2, 3, "\n", 4, 5}, std::nullopt},
        ConfigFrameRow{"CarriageReturnTypRefused", {1, 2, 3, "\r", 4, 5}, std::nullopt},
        ConfigFrameRow{"EscapeTypRefused", {1, 2, 3, "\x1b", 4, 5}, std::nullopt},
        ConfigFrameRow{"DeleteTypRefused", {1, 2, 3, "\x7f", 4, 5}, std::nullopt},
        ConfigFrameRow{"NextLineTypRefused", {1, 2, 3, "\x85", 4, 5}, std::nullopt},
        ConfigFrameRow{"NoBreakSpaceTypSent",
                       {1, 2, 3, "\xa0", 4, 5},
                       "u00100203\xa0"
                       "004005"},
        ConfigFrameRow{"Id256Refused", {256, 2, 3, "A", 4, 5}, std::nullopt},
        ConfigFrameRow{"NegativeChfRefused", {1, -1, 3, "A", 4, 5}, std::nullopt},
        ConfigFrameRow{"P0Of256Refused", {1, 2, 256, "A", 4, 5}, std::nullopt},
        ConfigFrameRow{"Prt1000Refused", {1, 2, 3, "A", 1000, 5}, std::nullopt},
        ConfigFrameRow{"NegativeOftRefused", {1, 2, 3, "A", 4, INT_MIN}, std::nullopt}),
    RowName<ConfigFrameRow>);

// ---- modem commands -------------------------------------------------------------------

struct ModemCommandRow {
    std::string name;
    int32_t selectedParam;
    int32_t value;
    std::optional<std::string> command;
};

class ModemCommand : public testing::TestWithParam<ModemCommandRow> {};

// A command built reads back into its parameter and value.
TEST_P(ModemCommand, Builds) {
    const ModemCommandRow& row = GetParam();
    EXPECT_EQ(BuildModemCommand(row.selectedParam, row.value), row.command);
    if (row.command) {
        const std::optional<ModemSetting> back = SettingOfModemCommand(*row.command);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->info->modemNumber, row.selectedParam);
        EXPECT_EQ(back->value, row.value);
    }
}

class NotModemCommand : public testing::TestWithParam<NotFrameRow> {};

TEST_P(NotModemCommand, ReadsBackAsNone) {
    EXPECT_FALSE(SettingOfModemCommand(GetParam().text).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, NotModemCommand,
    testing::Values(NotFrameRow{"NoSpace", "p007"}, NotFrameRow{"TwoSpaces", "p  007"},
                    NotFrameRow{"UnknownLetter", "x 007"}, NotFrameRow{"LetterInValue", "p 12x"},
                    NotFrameRow{"NoValue", "p "}, NotFrameRow{"SignAlone", "p -"},
                    NotFrameRow{"PlusSign", "p +7"}, NotFrameRow{"ZeroByteLetter", "\0 007"s},
                    NotFrameRow{"BeyondAnInt", "p 99999999999"}),
    RowName<NotFrameRow>);

INSTANTIATE_TEST_SUITE_P(
    Frames, ModemCommand,
    testing::Values(ModemCommandRow{"Id", 1, 5, "i 005"}, ModemCommandRow{"Chf", 2, 12, "c 012"},
                    ModemCommandRow{"P0Seven", 3, 7, "p 007"},
                    ModemCommandRow{"Prt", 4, 255, "r 255"},
                    ModemCommandRow{"TypMinusOne", 5, -1, "t -001"},
                    ModemCommandRow{"TypFourDigits", 5, 1000, "t 1000"},
                    ModemCommandRow{"TypLowestInt", 5, INT_MIN, "t -2147483648"},
                    ModemCommandRow{"OftZero", 6, 0, "o 000"},
                    ModemCommandRow{"NoChoiceRefused", 0, 7, std::nullopt},
                    ModemCommandRow{"SevenRefused", 7, 7, std::nullopt},
                    ModemCommandRow{"NegativeRefused", -1, 7, std::nullopt}),
    RowName<ModemCommandRow>);

// ---- reply acceptance -----------------------------------------------------------------

struct AcceptRow {
    std::string name;
    std::string line;
    bool config;
    bool modem;
};

class ReplyAcceptance : public testing::TestWithParam<AcceptRow> {};

TEST_P(ReplyAcceptance, ByFirstTwoCharacters) {
    EXPECT_EQ(IsConfigReport(GetParam().line), GetParam().config);
    EXPECT_EQ(IsModemReport(GetParam().line), GetParam().modem);
}

INSTANTIATE_TEST_SUITE_P(Frames, ReplyAcceptance,
                         testing::Values(AcceptRow{"TmReport", "TM010203\n", true, false},
                                         AcceptRow{"LcReport", "LC\n", true, false},
                                         AcceptRow{"LmAlone", "LM", true, false},
                                         AcceptRow{"UsReport", "US 01\r\n", false, true},
                                         AcceptRow{"LowerCaseTm", "tm010203\n", false, false},
                                         AcceptRow{"MixedCaseUs", "Us\n", false, false},
                                         AcceptRow{"OneCharacter", "T", false, false},
                                         AcceptRow{"Empty", "", false, false},
                                         AcceptRow{"EchoOfRequest", "u\n", false, false},
                                         AcceptRow{"LeadingLineFeed", "\nTM", false, false},
                                         AcceptRow{"LeadingSpace", " US", false, false},
                                         AcceptRow{"OtherDeviceLetters", "LX\n", false, false}),
                         RowName<AcceptRow>);

// ---- report decoding ------------------------------------------------------------------

std::string StatusText(const std::string& prefix, const std::string& shortLine,
                       const std::string (&values)[7]) {
    static const char* const kLabels[7] = {
        "VER= ", "ID = ", "CHF= ", "OFT= ", "P0 = ", "PRT= ", "TYP= "};
    std::string text = prefix + "7305rx\r\n" + shortLine + "\r\n";
    for (int i = 0; i < 7; ++i) {
        text += kLabels[i] + values[i] + "\r\n";
    }
    return text;
}

const std::string kSampleStatus =
    "TM7305rx\r\n01/02/03\r\nVER= V12\r\nID = 005\r\nCHF= 012\r\nOFT= 100\r\n"
    "P0 = 007\r\nPRT= 003\r\nTYP= A00\r\n";
const std::string kCompactSample = "TM010203V12005012100007003A00\n";
const std::string kSpacedSample = "TM 01 02 03  V12  005  012  100  007  003  A00\n";

struct DecodeRow {
    std::string name;
    std::string line;
    std::string status;
};

class Decode : public testing::TestWithParam<DecodeRow> {};

TEST_P(Decode, GivesNineLines) {
    EXPECT_EQ(DecodeReport(GetParam().line), GetParam().status);
}

const std::string kEmptyValues[7] = {};

INSTANTIATE_TEST_SUITE_P(
    Frames, Decode,
    testing::Values(
        DecodeRow{"Compact", kCompactSample, kSampleStatus},
        DecodeRow{"Spaced", kSpacedSample, kSampleStatus},
        DecodeRow{"CompactWithCrLf", "TM010203V12005012100007003A00\r\n", kSampleStatus},
        DecodeRow{"SpacedSeparatorsNotExamined", "TM 01x02x03xxV12xx005xx012xx100xx007xx003xxA00",
                  kSampleStatus},
        DecodeRow{"SpacedLongerThanLayout", kSpacedSample.substr(0, 46) + "0123456789ABCDEF\n",
                  kSampleStatus},
        DecodeRow{"ModemReport", "US 01 02 03  V12  005  012  100  007  003  A00\r\n",
                  "US" + kSampleStatus.substr(2)},
        DecodeRow{"TmAndLineFeedOnly", "TM\n", StatusText("TM", "\n//", kEmptyValues)},
        DecodeRow{"PrefixOnly", "LC", StatusText("LC", "//", kEmptyValues)},
        DecodeRow{"SpaceAfterPrefixOnly", "LM ", StatusText("LM", "//", kEmptyValues)},
        DecodeRow{"Empty", "", StatusText("", "//", kEmptyValues)},
        DecodeRow{"CrLfInsideShortField", "TM0102\r\n",
                  StatusText("TM", "01/02/\r\n", kEmptyValues)},
        DecodeRow{"CompactCutInsideVer", "TM010203V1\n",
                  StatusText("TM", "01/02/03", {"V1\n", "", "", "", "", "", ""})},
        DecodeRow{"SpacedCutInsideId", "TM 01 02 03  V12  00",
                  StatusText("TM", "01/02/03", {"V12", "00", "", "", "", "", ""})},
        DecodeRow{"CompactLineFeedInTyp", "TM010203V12005012100007003A\n",
                  StatusText("TM", "01/02/03", {"V12", "005", "012", "100", "007", "003", "A\n"})},
        DecodeRow{"Latin1BytesCopied",
                  "TM010203\xE9\xFF"
                  "0",
                  StatusText("TM", "01/02/03",
                             {"\xE9\xFF"
                              "0",
                              "", "", "", "", "", ""})}),
    RowName<DecodeRow>);

TEST(Frames, SpacedReportCutAt63CharactersDecodesLikeFullOne) {
    const std::string longLine = kSpacedSample.substr(0, 46) + std::string(60, '#') + "\n";
    EXPECT_EQ(DecodeReport(longLine.substr(0, kConfigLineBuffer - 1)), kSampleStatus);
}

// ---- device bytes to screen text ------------------------------------------------------

struct Utf8Row {
    std::string name;
    std::string bytes;
    std::string utf8;
};

class ToUtf8 : public testing::TestWithParam<Utf8Row> {};

TEST_P(ToUtf8, MapsEveryByte) {
    EXPECT_EQ(DeviceToUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ToUtf8,
    testing::Values(Utf8Row{"Empty", "", ""}, Utf8Row{"ZeroByteKept", "a\0b"s, "a\0b"s},
                    Utf8Row{"EAcute", "re\xE7u", "re\xC3\xA7u"},
                    Utf8Row{"FirstAndLastHighBytes", "\x80\xFF", "\xC2\x80\xC3\xBF"}),
    RowName<Utf8Row>);

// The system's own Latin-1 converter is the independent reference for all 256 bytes.
TEST(Frames, EveryByteConvertsLikeIconvLatin1) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    iconv_t cd = iconv_open("UTF-8", "ISO-8859-1");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string expected(all.size() * 2, '\0');
    char* in = all.data();
    size_t inLeft = all.size();
    char* out = expected.data();
    size_t outLeft = expected.size();
    const size_t converted = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    ASSERT_NE(converted, static_cast<size_t>(-1));
    ASSERT_EQ(inLeft, 0u);
    expected.resize(expected.size() - outLeft);

    EXPECT_EQ(DeviceToUtf8(all), expected);
}

// A read-back that agrees as far as it goes, but was cut before its end, verifies nothing.
struct VerdictRow {
    const char* name;
    std::string report;
    std::string verdict;
    std::vector<std::string> differing = {};  // the fields, in the report's order
};

class ReadBackVerdict : public testing::TestWithParam<VerdictRow> {};

TEST_P(ReadBackVerdict, OnlyAWholeReportIsVerified) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    record.sentConfig = ParameterSet{5, 12, 7, "A", 3, 100};
    record.report = GetParam().report;
    const Verdict verdict = JudgeReadBack(record);
    EXPECT_EQ(VerdictText(verdict), GetParam().verdict);
    // What the map judges again from the frame the record sent comes to the same verdict.
    const std::optional<std::string> frame = BuildConfigFrame(*record.sentConfig);
    ASSERT_TRUE(frame.has_value());
    const Verdict again = JudgeConfig(*ParameterSetOfFrame(*frame), GetParam().report);
    EXPECT_EQ(again.kind, verdict.kind);
    EXPECT_EQ(VerdictText(again), GetParam().verdict);
    ASSERT_EQ(again.differences.size(), GetParam().differing.size());
    for (size_t i = 0; i < again.differences.size(); ++i) {
        EXPECT_EQ(again.differences[i].field, GetParam().differing[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ReadBackVerdict,
    testing::Values(VerdictRow{"Whole", "TM010203V14005012100007003A00", "Configuration vérifiée"},
                    VerdictRow{"TypCutShort", "TM010203V14005012100007003A", ""},
                    VerdictRow{"CarriageReturnInTyp", "TM010203V14005012100007003A\r\n", ""},
                    VerdictRow{"CutAndDiffering",
                               "TM010203V14005013100007003A",
                               "CHF envoyé 012, lu 013",
                               {"CHF"}},
                    VerdictRow{"TwoFieldsDiffer",
                               "TM010203V14005013101007003B00",
                               "CHF envoyé 012, lu 013; OFT envoyé 100, lu 101; TYP envoyé A, lu B",
                               {"CHF", "OFT", "TYP"}}),
    RowName<VerdictRow>);

}  // namespace
