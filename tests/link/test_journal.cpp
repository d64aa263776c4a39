#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "CIdentitySet.h"
#include "CJournal.h"
#include "JournalFailure.h"
#include "JournalFormat.h"
#include "JournalParse.h"
#include "JournalSettings.h"
#include "TempDir.h"

namespace {

const JournalContext kContext{"Client", "Répéteur", "COM900"};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

ExchangeRecord SentRecord(int32_t id) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    record.portNumber = 900;
    record.devicePath = "/dev/pts/7";
    record.sentConfig = ParameterSet{id, 12, 7, "A", 3, 100};
    record.bytesSent = "u00501207A003100\nu\n";
    record.report = "TM010203V14005012100007003A00\r\n";
    return record;
}

// Device bytes are kept exactly, yet every record stays on one line a spreadsheet reads.
struct EscapeRow {
    std::string bytes;
    std::string field;
};

class JournalEscape : public ::testing::TestWithParam<EscapeRow> {};

TEST_P(JournalEscape, BytesSentBecomeOneQuotedField) {
    ExchangeRecord record = SentRecord(5);
    record.bytesSent = GetParam().bytes;
    const std::string line = JournalFormat::RecordLine(kContext, record, timespec{0, 0});
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    EXPECT_NE(line.find(",\"émission\"," + JournalFormat::Quote(GetParam().field) + ","),
              std::string::npos)
        << line;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JournalEscape,
    ::testing::Values(EscapeRow{"u00501207A003100\nu\n", "u00501207A003100\\nu\\n"},
                      EscapeRow{"TM\r\n", "TM\\r\\n"}, EscapeRow{"a\\b", "a\\\\b"},
                      EscapeRow{"say \"u\"", "say \"u\""},
                      EscapeRow{std::string("u\xe9\x01\x7f", 4), "ué\\x01\\x7F"},
                      // What a spreadsheet would take for a formula starts with an escape.
                      EscapeRow{"=1+2", "\\x3D1+2"}, EscapeRow{"+33", "\\x2B33"},
                      EscapeRow{"-1", "\\x2D1"}, EscapeRow{"@SUM(A1)", "\\x40SUM(A1)"},
                      EscapeRow{"\tx", "\\tx"}, EscapeRow{"\rx", "\\rx"}, EscapeRow{"a=b", "a=b"}));

// Quotes and commas are looked for many bytes at a time: where they fall must not matter.
struct SplitRow {
    std::string line;
    bool wellFormed;
    std::vector<std::string> fields;
};

void PrintTo(const SplitRow& row, std::ostream* os) {
    *os << row.line;
}

class JournalSplit : public ::testing::TestWithParam<SplitRow> {};

TEST_P(JournalSplit, FieldsAreTheSameWhereverTheQuotesFall) {
    std::vector<std::string_view> fields;
    std::deque<std::string> unquoted;
    ASSERT_EQ(JournalParse::SplitFields(GetParam().line, fields, unquoted), GetParam().wellFormed);
    if (GetParam().wellFormed) {
        EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()), GetParam().fields);
    }
}

const std::string k14(14, 'a');
const std::string k15(15, 'b');
const std::string k40(40, 'c');

// `count` empty quoted fields, as many commas between them.
std::string EmptyQuoted(size_t count) {
    std::string line = "\"\"";
    for (size_t i = 1; i < count; ++i) {
        line += ",\"\"";
    }
    return line;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JournalSplit,
    ::testing::Values(
        SplitRow{"\"a\",\"\",b", true, {"a", "", "b"}}, SplitRow{"\"a", false, {}},
        // The closing quote as the sixteenth byte, then as the seventeenth.
        SplitRow{"\"" + k14 + "\",x", true, {k14, "x"}},
        SplitRow{"\"" + k15 + "\",x", true, {k15, "x"}},
        SplitRow{"\"" + k40 + "\",\"" + k40 + "\"", true, {k40, k40}},
        // A doubled quote split by the sixteen-byte border, and one just after it.
        SplitRow{"\"" + k14 + "\"\"z\"", true, {k14 + "\"z"}},
        SplitRow{"\"" + k15 + "\"\"z\"", true, {k15 + "\"z"}},
        SplitRow{"\"" + k40 + "\"\"\"", true, {k40 + "\""}},
        // Unclosed after more than sixteen bytes; a stray byte after the closing quote.
        SplitRow{"\"" + k40 + ",x", false, {}}, SplitRow{"\"" + k40 + "\"\"", false, {}},
        SplitRow{"\"" + k40 + "\"x", false, {}}, SplitRow{"\"" + k15 + "\"x,\"y\"", false, {}},
        // Commas inside quotes, at and across the border.
        SplitRow{"\"" + k14 + ",\"," + k40, true, {k14 + ",", k40}},
        SplitRow{"\"," + k40 + ",\"", true, {"," + k40 + ","}},
        // A comma after a closing quote: an empty last field, or one left unclosed.
        SplitRow{"\"a\",", true, {"a", ""}}, SplitRow{"\"a\",\"", false, {}},
        SplitRow{"\"a\",\"\"\"", false, {}},
        // As many quoted fields as a layout can have, then one more.
        SplitRow{EmptyQuoted(JournalFormat::kMaxFields), true,
                 std::vector<std::string>(JournalFormat::kMaxFields)},
        SplitRow{EmptyQuoted(JournalFormat::kMaxFields + 1), false, {}}));

// Escapes and UTF-8 sequences are looked for many bytes at a time too.
struct UnescapeRow {
    std::string field;
    std::string bytes;
};

void PrintTo(const UnescapeRow& row, std::ostream* os) {
    *os << row.field;
}

class JournalUnescape : public ::testing::TestWithParam<UnescapeRow> {};

TEST_P(JournalUnescape, DeviceBytesAreTheSameWhereverTheEscapesFall) {
    EXPECT_EQ(JournalParse::UnescapeDeviceBytes(GetParam().field), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JournalUnescape,
    ::testing::Values(UnescapeRow{k40, k40}, UnescapeRow{k15 + "\\n" + k15, k15 + "\n" + k15},
                      UnescapeRow{k14 + "\\x41" + k40, k14 + "A" + k40},
                      UnescapeRow{k15 + "é" + k15, k15 + "\xe9" + k15},
                      UnescapeRow{k40 + "\\r\\n", k40 + "\r\n"},
                      UnescapeRow{k40 + "\xe2\x82\xac" + k14, k40 + "\xe2\x82\xac" + k14},
                      UnescapeRow{k14 + "é", k14 + "\xe9"}));

TEST(JournalFormatTest, TimeCarriesItsOffsetAndNamesTheLocalDay) {
    const char* saved = std::getenv("TZ");
    const std::string keep = saved != nullptr ? saved : "";
    setenv("TZ", "XYZ-1:30", 1);
    tzset();
    const timespec lateUtc{23 * 3600 + 5, 42000000};  // 1970-01-01 23:00:05.042 UTC
    EXPECT_EQ(JournalFormat::Timestamp(lateUtc), "1970-01-02T00:30:05.042+01:30");
    EXPECT_EQ(JournalFormat::FileName(lateUtc, "", 1), "1970-01-02.csv");
    EXPECT_EQ(JournalFormat::FileName(lateUtc, "poste-1", 1), "1970-01-02.poste-1.csv");
    EXPECT_EQ(JournalFormat::FileName(lateUtc, "poste-1", 2), "1970-01-02.poste-1.2.csv");
    if (saved != nullptr) {
        setenv("TZ", keep.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

TEST(JournalTest, HeaderOnceThenOneLinePerRecordWithTheVerdict) {
    TempDir dir;
    CJournal journal(dir / "deep/zav7305");
    const timespec when{1000, 0};
    ASSERT_EQ(journal.Append(kContext, SentRecord(5), when), JOURNAL_OK);
    ExchangeRecord differs = SentRecord(6);
    ASSERT_EQ(journal.Append(kContext, differs, when), JOURNAL_OK);
    const std::string text = ReadAll(journal.PathFor(when));
    std::istringstream lines(text);
    std::string header, first, second, extra;
    ASSERT_TRUE(std::getline(lines, header) && std::getline(lines, first) &&
                std::getline(lines, second));
    EXPECT_FALSE(std::getline(lines, extra));
    EXPECT_EQ(header + "\n", JournalFormat::HeaderLine());
    EXPECT_EQ(header,
              "\"horodatage\",\"rôle\",\"éditeur\",\"port\",\"périphérique\",\"échange\","
              "\"octets envoyés\",\"rapport reçu\",\"ID\",\"CHF\",\"OFT\",\"P0\",\"PRT\",\"TYP\","
              "\"verdict\",\"message\",\"cause\",\"erreur système\",\"commande\",\"réseau\","
              "\"répéteurs\"");
    EXPECT_NE(first.find("\"Configuration vérifiée\""), std::string::npos) << first;
    EXPECT_NE(second.find("\"ID envoyé 006, lu 005\""), std::string::npos) << second;
    EXPECT_NE(first.find("\"005\",\"012\",\"100\",\"007\",\"003\",\"A00\""), std::string::npos);
    struct stat folder {};
    ASSERT_EQ(::stat((dir / "deep").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
}

// The box a cancelled wait shows is a silent device's; its record says it was ended.
TEST(JournalFormatTest, CancelledWaitIsToldInTheMessage) {
    ExchangeRecord silent = SentRecord(5);
    silent.report.reset();
    silent.message = "Echec de la configuration.";
    ExchangeRecord cancelled = silent;
    cancelled.cancelled = true;
    const std::string plain = JournalFormat::RecordLine(kContext, silent, timespec{0, 0});
    const std::string ended = JournalFormat::RecordLine(kContext, cancelled, timespec{0, 0});
    EXPECT_NE(plain.find(",\"Echec de la configuration.\","), std::string::npos) << plain;
    EXPECT_EQ(plain.find("annulée"), std::string::npos) << plain;
    EXPECT_NE(ended.find(",\"Echec de la configuration. (attente annulée)\","), std::string::npos)
        << ended;
}

// A writer killed inside its write leaves a line without its end: the next writer cuts it
// away under the lock instead of gluing its own record to it.
TEST(JournalTest, TornLastRecordIsCutAway) {
    TempDir dir;
    CJournal journal(dir.Path());
    const timespec when{1000, 0};
    const std::string whole =
        JournalFormat::HeaderLine() + JournalFormat::RecordLine(kContext, SentRecord(1), when);
    for (const std::string& torn : {std::string("\"1970-01-01T00:16"), std::string("\"ha\"lf")}) {
        ASSERT_TRUE(dir.WriteFile(JournalFormat::FileName(when), whole + torn));
        ASSERT_EQ(journal.Append(kContext, SentRecord(2), when), JOURNAL_OK);
        EXPECT_EQ(ReadAll(journal.PathFor(when)),
                  whole + JournalFormat::RecordLine(kContext, SentRecord(2), when));
    }
    ASSERT_TRUE(
        dir.WriteFile(JournalFormat::FileName(when), JournalFormat::HeaderLine().substr(0, 20)));
    ASSERT_EQ(journal.Append(kContext, SentRecord(3), when), JOURNAL_OK);
    EXPECT_EQ(
        ReadAll(journal.PathFor(when)),
        JournalFormat::HeaderLine() + JournalFormat::RecordLine(kContext, SentRecord(3), when));
}

// What the next writer finds after the file's last line feed: a record cut short is cut away,
// a whole record that only lacks its line feed (a file saved by another program) is kept and
// ended. A byte order mark before the header is kept too.
struct TailRow {
    const char* name;
    std::string before;  // the day's file
    std::string kept;    // what of it stays, before the new record
};

void PrintTo(const TailRow& row, std::ostream* out) {
    *out << row.name;
}

const std::string kWhole =
    JournalFormat::HeaderLine() + JournalFormat::RecordLine(kContext, SentRecord(1), {1000, 0});
const std::string kBom = "\xEF\xBB\xBF";

class JournalTail : public ::testing::TestWithParam<TailRow> {};

TEST_P(JournalTail, NextRecordFollowsWhatIsWhole) {
    TempDir dir;
    CJournal journal(dir.Path());
    const timespec when{1000, 0};
    ASSERT_TRUE(dir.WriteFile(JournalFormat::FileName(when), GetParam().before));
    ASSERT_EQ(journal.Append(kContext, SentRecord(2), when), JOURNAL_OK)
        << JournalFailureReason(journal.LastError());
    EXPECT_EQ(ReadAll(journal.PathFor(when)),
              GetParam().kept + JournalFormat::RecordLine(kContext, SentRecord(2), when));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JournalTail,
    ::testing::Values(
        TailRow{"torn", kWhole + "\"1970-01-01T00:16", kWhole},
        TailRow{"torn_inside_a_quote", kWhole + "\"ha\"lf", kWhole},
        TailRow{"whole_without_line_feed", kWhole.substr(0, kWhole.size() - 1), kWhole},
        TailRow{"header_without_line_feed",
                JournalFormat::HeaderLine().substr(0, JournalFormat::HeaderLine().size() - 1),
                JournalFormat::HeaderLine()},
        TailRow{"byte_order_mark", kBom + kWhole, kBom + kWhole},
        TailRow{"byte_order_mark_and_no_line_feed", kBom + kWhole.substr(0, kWhole.size() - 1),
                kBom + kWhole}),
    [](const ::testing::TestParamInfo<TailRow>& info) { return std::string(info.param.name); });

// Neither a folder that cannot be made nor a day's file that cannot be opened stops the
// caller; each says why, and the journal writes again once the obstacle is gone.
TEST(JournalTest, FailuresAreReportedAndRetried) {
    TempDir dir;
    const timespec when{1000, 0};
    ASSERT_TRUE(dir.WriteFile("blocked", "a file where the folder should be"));
    CJournal blockedFolder(dir / "blocked/zav7305");
    EXPECT_EQ(blockedFolder.Append(kContext, SentRecord(1), when), JOURNAL_NO_FOLDER);
    EXPECT_EQ(blockedFolder.LastError(), ENOTDIR);

    CJournal blockedFile(dir.Path());
    ASSERT_TRUE(dir.MakeDir(JournalFormat::FileName(when)));
    EXPECT_EQ(blockedFile.Append(kContext, SentRecord(1), when), JOURNAL_OPEN_FAILED);
    EXPECT_EQ(blockedFile.LastError(), EISDIR);
    ASSERT_EQ(rmdir(blockedFile.PathFor(when).c_str()), 0);
    EXPECT_EQ(blockedFile.Append(kContext, SentRecord(1), when), JOURNAL_OK);
}

// A day's file the journal did not make as its own is left as it is, and so is whatever it
// leads to; the caller is told why in French, and its next record is refused the same way.
struct HostileRow {
    const char* name;
    std::string victim;  // what the file in danger holds
    // Puts something in the day's file's place; the file in danger is `other` until then.
    std::function<bool(const std::string& day, const std::string& other)> plant;
    bool dayInDanger;  // the plant moved the file in danger to the day's name
    int error;
};

void PrintTo(const HostileRow& row, std::ostream* out) {
    *out << row.name;
}

const std::string kTornJournal = JournalFormat::HeaderLine() + "\"a record cut sh";

bool MoveTo(const std::string& day, const std::string& other) {
    return ::rename(other.c_str(), day.c_str()) == 0;
}

class JournalHostileFile : public ::testing::TestWithParam<HostileRow> {};

TEST_P(JournalHostileFile, FileInDangerUntouchedAndFailureTold) {
    const HostileRow& row = GetParam();
    if (row.error == JOURNAL_REFUSED_NOT_OWN && ::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    TempDir dir;
    const timespec when{1000, 0};
    ASSERT_TRUE(dir.WriteFile("other.csv", row.victim));
    ASSERT_TRUE(dir.MakeDir("journal"));
    CJournal journal(dir / "journal");
    const std::string day = journal.PathFor(when);
    ASSERT_TRUE(row.plant(day, dir / "other.csv"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_NE(journal.Append(kContext, SentRecord(5), when), JOURNAL_OK);
        EXPECT_EQ(journal.LastError(), row.error);
    }
    EXPECT_EQ(ReadAll(row.dayInDanger ? day : dir / "other.csv"), row.victim);
    EXPECT_EQ(JournalFailureReason(journal.LastError()).find("erreur système"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JournalHostileFile,
    ::testing::Values(HostileRow{"symlink", kTornJournal,
                                 [](const std::string& day, const std::string& other) {
                                     return ::symlink(other.c_str(), day.c_str()) == 0;
                                 },
                                 false, ELOOP},
                      HostileRow{"hard_link", kTornJournal,
                                 [](const std::string& day, const std::string& other) {
                                     return ::link(other.c_str(), day.c_str()) == 0;
                                 },
                                 false, JOURNAL_REFUSED_LINKED},
                      HostileRow{"fifo", kTornJournal,
                                 [](const std::string& day, const std::string&) {
                                     return ::mkfifo(day.c_str(), 0600) == 0;
                                 },
                                 false, JOURNAL_REFUSED_NOT_REGULAR},
                      HostileRow{"another_users", kTornJournal,
                                 [](const std::string& day, const std::string& other) {
                                     return MoveTo(day, other) &&
                                            ::chown(day.c_str(), 65534, 65534) == 0;
                                 },
                                 true, JOURNAL_REFUSED_NOT_OWN},
                      HostileRow{"without_header", std::string(4980, 'x'), MoveTo, true,
                                 JOURNAL_REFUSED_NO_HEADER}),
    [](const ::testing::TestParamInfo<HostileRow>& info) { return std::string(info.param.name); });

// A day's file from before the columns changed keeps its one layout; the day goes on in its
// next file.
TEST(JournalTest, OlderLayoutOfTheDayIsLeftAsItIs) {
    TempDir dir;
    CJournal journal(dir.Path());
    const timespec when{1000, 0};
    const std::string older = "\"horodatage\",\"rôle\"\n\"1970-01-01T00:16:40.000+00:00\",\"x\"\n";
    ASSERT_TRUE(dir.WriteFile(JournalFormat::FileName(when), older));
    ASSERT_EQ(journal.Append(kContext, SentRecord(1), when), JOURNAL_OK);
    ASSERT_EQ(journal.Append(kContext, SentRecord(2), when), JOURNAL_OK);
    EXPECT_EQ(ReadAll(journal.PathFor(when)), older);
    EXPECT_EQ(journal.PathFor(when, 2), dir / (JournalFormat::FileName(when).substr(0, 10) + "." +
                                               journal.Machine() + ".2.csv"));
    EXPECT_EQ(ReadAll(journal.PathFor(when, 2)),
              JournalFormat::HeaderLine() +
                  JournalFormat::RecordLine(kContext, SentRecord(1), when) +
                  JournalFormat::RecordLine(kContext, SentRecord(2), when));
}

// Host names as machines' files carry them.
struct MachineRow {
    const char* raw;
    const char* safe;
};

class JournalMachineNames : public ::testing::TestWithParam<MachineRow> {};

TEST_P(JournalMachineNames, HostNameBecomesASafeFileNamePart) {
    const std::string safe = JournalFormat::SafeMachineName(GetParam().raw);
    EXPECT_EQ(safe, GetParam().safe);
    EXPECT_TRUE(JournalFormat::IsFileName("2026-12-09." + safe + ".csv")) << safe;
    EXPECT_TRUE(JournalFormat::IsFileName("2026-12-09." + safe + ".3.csv")) << safe;
}

INSTANTIATE_TEST_SUITE_P(Rows, JournalMachineNames,
                         ::testing::Values(MachineRow{"poste-1", "poste-1"},
                                           MachineRow{"Portable_Équipe 2", "portable-quipe-2"},
                                           MachineRow{"", "poste"}, MachineRow{"../..", "poste"},
                                           MachineRow{"2", "poste-2"}, MachineRow{"-x-", "x"},
                                           MachineRow{"conflit-lab", "poste-lab"},
                                           MachineRow{"Sync Conflict", "sync-poste"},
                                           MachineRow{"abcdefghijklmnopqrstuvwxyz0123456789",
                                                      "abcdefghijklmnopqrstuvwxyz012345"},
                                           MachineRow{"abcdefghijklmnopqrstuvwxyz01234-6789",
                                                      "abcdefghijklmnopqrstuvwxyz01234"}));

// Which names are a journal's day files: this machine's, another's, and those from before
// machines were named; never a sync tool's copy.
struct NameRow {
    const char* name;
    bool journal;
};

class JournalFileNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(JournalFileNames, OnlyDayFilesAreJournalFiles) {
    EXPECT_EQ(JournalFormat::IsFileName(GetParam().name), GetParam().journal) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JournalFileNames,
    ::testing::Values(
        NameRow{"2026-12-09.csv", true}, NameRow{"2026-12-09.2.csv", true},
        NameRow{"2026-12-09.poste-1.csv", true}, NameRow{"2026-12-09.poste-1.2.csv", true},
        NameRow{"2026-12-09.Poste-1.csv", false}, NameRow{"2026-12-09.poste-1.x.csv", false},
        NameRow{"2026-12-09..csv", false}, NameRow{"2026-12-09.-a.csv", false},
        NameRow{"2026-12-09.poste-1.sync-conflict-20261209-101010-ABCDEFG.csv", false},
        NameRow{"2026-12-09.poste-1 (conflicted copy 2026-12-09 101010).csv", false},
        NameRow{"2026-12-09.poste-1 (poste-2's conflicted copy 2026-12-09).csv", false},
        NameRow{"2026-12-09.poste-1-conflit.csv", false},
        NameRow{".syncthing.2026-12-09.poste-1.csv.tmp", false},
        NameRow{"~syncthing~2026-12-09.poste-1.csv.tmp", false},
        NameRow{"2026-12-09.poste-1.csv.part", false},
        NameRow{".~lock.2026-12-09.poste-1.csv#", false},
        NameRow{"2026-12-09.poste-1.csv.tmp", false}, NameRow{".2026-12-09.poste-1.csv", false},
        NameRow{"notes.csv", false}));

// Identities alike in their low bits (a machine's hash changed in its high bits only), zero,
// and enough of them to grow the set several times: each is taken once, and only once.
TEST(JournalTest, EachIdentityIsTakenOnceWhateverItsBits) {
    CIdentitySet set;
    const auto sweep = [&set](bool expected) {
        int mismatches = 0;
        for (uint64_t i = 0; i < 20000; ++i) {
            mismatches += set.Insert(i << 40) != expected ? 1 : 0;
            mismatches += set.Insert(i * 0x9E3779B97F4A7C15ULL + 1) != expected ? 1 : 0;
        }
        return mismatches;
    };
    EXPECT_EQ(sweep(true), 0);
    EXPECT_EQ(set.Size(), 40000u);
    EXPECT_EQ(sweep(false), 0);
    EXPECT_EQ(set.Size(), 40000u);
}

// Records a reading took but never handed are forgotten one by one: whichever slots they held,
// among runs of identities that collided, every other identity is still found and a forgotten one
// can be taken again; a set sized up front for a year holds the same.
TEST(JournalTest, ForgottenIdentitiesLeaveTheOthersFound) {
    for (const size_t reserved : {size_t{0}, size_t{300000}}) {
        CIdentitySet set;
        set.Reserve(reserved);
        const auto identity = [](uint64_t i) {
            return i % 3 == 0 ? i << 40 : i * 0x9E3779B97F4A7C15ULL;
        };
        for (uint64_t i = 0; i < 30000; ++i) {
            ASSERT_TRUE(set.Insert(identity(i)));
        }
        int wrong = 0;
        for (uint64_t i = 0; i < 30000; i += 2) {
            wrong += set.Erase(identity(i)) ? 0 : 1;
            wrong += set.Erase(identity(i)) ? 1 : 0;  // once only
        }
        EXPECT_EQ(set.Size(), 15000u);
        for (uint64_t i = 0; i < 30000; ++i) {
            wrong += set.Insert(identity(i)) != (i % 2 == 0) ? 1 : 0;
        }
        EXPECT_EQ(wrong, 0) << reserved;
        EXPECT_EQ(set.Size(), 30000u);
        EXPECT_FALSE(set.Erase(12345));
    }
}

TEST(JournalTest, EachMachineWritesItsOwnFiles) {
    TempDir dir;
    const timespec when{1000, 0};
    CJournal first(dir.Path(), "poste-1");
    CJournal second(dir.Path(), "poste-2");
    ASSERT_EQ(first.Append(kContext, SentRecord(1), when), JOURNAL_OK);
    ASSERT_EQ(second.Append(kContext, SentRecord(2), when), JOURNAL_OK);
    EXPECT_EQ(first.PathFor(when), dir / JournalFormat::FileName(when, "poste-1", 1));
    EXPECT_NE(first.PathFor(when), second.PathFor(when));
    EXPECT_EQ(
        ReadAll(second.PathFor(when)),
        JournalFormat::HeaderLine() + JournalFormat::RecordLine(kContext, SentRecord(2), when));
    setenv("ZAV7305_MACHINE", "Banc d'essai", 1);
    EXPECT_EQ(JournalFormat::MachineName(), "banc-d-essai");
    EXPECT_EQ(CJournal(dir.Path()).Machine(), "banc-d-essai");
    unsetenv("ZAV7305_MACHINE");
    EXPECT_TRUE(JournalFormat::IsFileName(JournalFormat::FileName(when)));
}

// The folder the user chose is kept in their settings and wins over the default; a choice
// that is no absolute path is refused and changes nothing.
TEST(JournalTest, ChosenFolderIsKeptInTheUsersSettings) {
    TempDir dir;
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved != nullptr ? saved : "";
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    EXPECT_EQ(JournalSettings::UserFolder(), CJournal::DefaultFolder());
    EXPECT_EQ(JournalSettings::ChooseFolder("relative/folder"), EINVAL);
    EXPECT_EQ(JournalSettings::ChooseFolder("/srv/a\nb"), EINVAL);
    EXPECT_EQ(JournalSettings::UserFolder(), CJournal::DefaultFolder());
    EXPECT_EQ(JournalSettings::ChooseFolder("/srv/partage/journal"), 0);
    EXPECT_EQ(JournalSettings::SettingsFile(), dir / "config/zav7305/journal");
    EXPECT_EQ(JournalSettings::UserFolder(), "/srv/partage/journal");
    EXPECT_EQ(JournalSettings::ChooseFolder("/srv/autre"), 0);
    EXPECT_EQ(JournalSettings::UserFolder(), "/srv/autre");
    EXPECT_FALSE(std::ifstream(dir / "config/zav7305/journal.tmp").good());
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(JournalSettings::SettingsFile(),
              std::string(std::getenv("HOME")) + "/.config/zav7305/journal");
    if (saved != nullptr) {
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

TEST(JournalTest, DefaultFolderFollowsXdgDataHome) {
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const std::string keep = savedData != nullptr ? savedData : "";
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(CJournal::DefaultFolder(), "/srv/data/zav7305");
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(CJournal::DefaultFolder(),
              std::string(std::getenv("HOME")) + "/.local/share/zav7305");
    if (savedData != nullptr) {
        setenv("XDG_DATA_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

}  // namespace
