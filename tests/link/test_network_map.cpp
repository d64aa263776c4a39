#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "CJournal.h"
#include "CJournalReader.h"
#include "CNetworkMap.h"
#include "JournalFormat.h"
#include "MapStates.h"
#include "MapTexts.h"
#include "PlanStates.h"
#include "ProtocolTexts.h"
#include "TempDir.h"

namespace {

const JournalContext kNord{"Client", "Répéteur", "COM900", "Station Nord", 20};
const JournalContext kSud{"Client", "Répéteur", "COM900", "Station Sud", 3};

// A send of ID `id` with CHF `chf`; the device reports `readChf`, or nothing when negative;
// `written` false is a port that never took the frame.
ExchangeRecord Send(int32_t id, int32_t chf, int32_t readChf, bool written = true) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    record.sentConfig = ParameterSet{id, chf, 7, "A", 3, 100};
    char frame[32];
    std::snprintf(frame, sizeof frame, "u%03d%03d07A003100", id, chf);
    record.command = frame;
    if (!written) {
        record.cause = "Le port est occupé.";
        return record;
    }
    record.devicePath = "/dev/pts/7";
    record.bytesSent = record.command + "\nu\n";
    if (readChf >= 0) {
        char report[48];
        std::snprintf(report, sizeof report, "TM010203V14%03d%03d100007003A00\r\n", id, readChf);
        record.report = report;
    }
    return record;
}

ExchangeRecord ModemSend(int32_t number, int32_t value, const char* report) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendModemParam;
    record.modemParam = number;
    record.modemValue = value;
    record.command = "p 007";
    record.bytesSent = "p 007\nv\n";
    record.report = report;
    return record;
}

std::string Line(const JournalContext& context, const ExchangeRecord& record, time_t second) {
    return JournalFormat::RecordLine(context, record, timespec{second, 0});
}

// Sends of device 5 that came back as sent, a second apart: a day file of this many is read in
// several pieces, with records across where two pieces meet.
std::string VerifiedSends(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += Line(kNord, Send(5, 12, 12), 100 + i);
    }
    return text;
}

const std::string kOldHeader =
    "\"horodatage\",\"rôle\",\"éditeur\",\"port\",\"périphérique\",\"échange\",\"octets "
    "envoyés\",\"rapport reçu\",\"ID\",\"CHF\",\"OFT\",\"P0\",\"PRT\",\"TYP\",\"verdict\","
    "\"message\",\"cause\",\"erreur système\"\n";
const std::string kOldVerified =
    "\"2026-12-09T01:05:03.042+01:00\",\"Client\",\"Répéteur\",\"COM900\",\"/dev/pts/7\","
    "\"émission\",\"u00501207A003100\\nu\\n\",\"TM010203V14005012100007003A00\\r\\n\",\"005\","
    "\"012\",\"100\",\"007\",\"003\",\"A00\",\"Configuration vérifiée\",\"\",\"\",\"\"\n";

struct MapRow {
    const char* what;
    std::vector<std::string> files;  // the contents of the day's files, in order
    std::string network;
    int32_t id;  // a device; 241..246 stand for the modem's parameters 1..6
    DeviceState state;
    std::string words;
    size_t skipped;
    int sends;
    bool sentDifferent;
    off_t sparseTo = 0;  // the last file made this long by a hole after what it holds
};

class NetworkMapRows : public ::testing::TestWithParam<MapRow> {};

TEST_P(NetworkMapRows, JournalLinesGiveTheState) {
    const MapRow& row = GetParam();
    TempDir dir;
    for (size_t i = 0; i < row.files.size(); ++i) {
        ASSERT_TRUE(dir.WriteFile("2026-12-0" + std::to_string(i + 1) + ".csv", row.files[i]));
    }
    if (row.sparseTo > 0) {
        const std::string last = dir / ("2026-12-0" + std::to_string(row.files.size()) + ".csv");
        ASSERT_EQ(::truncate(last.c_str(), row.sparseTo), 0);
    }
    ASSERT_TRUE(dir.WriteFile("notes.txt", "not a journal\n"));
    const JournalScan scan = ReadJournal({dir.Path()}, row.network);
    CNetworkMap map(row.network);
    map.Add(scan.entries);
    const MapCell& cell = row.id > 240 ? map.ModemParam(row.id - 240) : map.Device(row.id);
    EXPECT_EQ(cell.state, row.state);
    EXPECT_EQ(StateWords(cell), row.words);
    EXPECT_EQ(scan.skippedLines, row.skipped);
    EXPECT_EQ(cell.sends, row.sends);
    EXPECT_EQ(cell.sentDifferentValues, row.sentDifferent);
    for (size_t i = 1; i < scan.entries.size(); ++i) {
        EXPECT_LE(scan.entries[i - 1].epochMs, scan.entries[i].epochMs);
    }
    EXPECT_TRUE(scan.unreadableFiles.empty());
    EXPECT_LE(map.RepeaterCount(), 240);
}

const std::string kHeader = JournalFormat::HeaderLine();
const JournalContext kFormula{"Client", "Répéteur", "COM900", "=HYPERLINK(\"x\")", 20};
const JournalContext kTooMany{"Client", "Répéteur", "COM900", "Station Nord", 500};

// A reply cut by an unplug after its first bytes.
ExchangeRecord CutReply(int32_t id) {
    ExchangeRecord record = Send(id, 12, 12);
    record.report = "TM0102";
    record.cause = kTextReplyCut;
    return record;
}

// A send whose wait for the report the user ended.
ExchangeRecord Cancelled(ExchangeRecord record) {
    record.report.reset();
    record.message = "Configuration non reçue";
    record.cancelled = true;
    return record;
}

std::string WithoutLineFeed(std::string line) {
    line.pop_back();
    return line;
}

// The line with another timestamp written in its first field.
std::string WithTimestamp(std::string line, const std::string& timestamp) {
    return line.replace(1, line.find('"', 1) - 1, timestamp);
}

// The same send with a timestamp that no reading takes at each place a digit or a sign can be
// wrong, beside a good one.
std::string WrongTimestamps() {
    const std::string line = Line(kNord, Send(5, 12, 12), 100);
    std::string text;
    for (const char* wrong : {"x026-12-09T01:05:03.042+01:00", "2026-12-09T01:05:0x.042+01:00",
                              "2026-12-09T01:05:03.0/2+01:00", "2026-12-09T01:05:03.042+01:0:",
                              "2026-12-09T01:05:03.042+0Ã©:0", "2026-12-09T01:05:03.042*01:00",
                              "2026-12-09T01:05:03.042+01000", "2026-12-09T01:05:03.042+01:000",
                              "2026-13-09T01:05:03.042+01:00", "2026-12-09T24:05:03.042+01:00"}) {
        text += WithTimestamp(line, wrong);
    }
    return text + WithTimestamp(line, "2026-12-09T01:05:03.042+01:00");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NetworkMapRows,
    ::testing::Values(
        MapRow{"verified",
               {kHeader + Line(kNord, Send(5, 12, 12), 100)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               0,
               1,
               false},
        MapRow{"differs",
               {kHeader + Line(kNord, Send(13, 12, 13), 100)},
               "Station Nord",
               13,
               DeviceState::kDiffers,
               "CHF envoyé 012, lu 013",
               0,
               1,
               false},
        MapRow{"records across the pieces a long day file is read in",
               {kHeader + VerifiedSends(2000) + Line(kNord, Send(5, 12, 13), 5000)},
               "Station Nord",
               5,
               DeviceState::kDiffers,
               "CHF envoyé 012, lu 013",
               0,
               2001,
               false},
        MapRow{"silent",
               {kHeader + Line(kNord, Send(7, 12, -1), 100)},
               "Station Nord",
               7,
               DeviceState::kNoReport,
               "envoyée, sans réponse",
               0,
               1,
               false},
        MapRow{"port failure",
               {kHeader + Line(kNord, Send(8, 12, -1, false), 100)},
               "Station Nord",
               8,
               DeviceState::kPortFailure,
               "échec du port",
               0,
               1,
               false},
        MapRow{"never sent",
               {kHeader + Line(kNord, Send(8, 12, 12), 100)},
               "Station Nord",
               9,
               DeviceState::kNotProgrammed,
               "non programmée",
               0,
               0,
               false},
        // The later day's file is read first by name but wins by time.
        MapRow{"latest wins across files",
               {kHeader + Line(kNord, Send(5, 12, 13), 300),
                kHeader + Line(kNord, Send(5, 14, 14), 200)},
               "Station Nord",
               5,
               DeviceState::kDiffers,
               "CHF envoyé 012, lu 013",
               0,
               2,
               true},
        MapRow{"same values twice",
               {kHeader + Line(kNord, Send(5, 12, -1), 100) + Line(kNord, Send(5, 12, 12), 200)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               0,
               2,
               false},
        MapRow{"another network ignored",
               {kHeader + Line(kSud, Send(5, 12, 12), 100)},
               "Station Nord",
               5,
               DeviceState::kNotProgrammed,
               "non programmée",
               0,
               0,
               false},
        MapRow{"old layout, unnamed network",
               {kOldHeader + kOldVerified},
               "",
               5,
               DeviceState::kVerified,
               "vérifiée",
               0,
               1,
               false},
        MapRow{"old layout is no named network",
               {kOldHeader + kOldVerified},
               "Station Nord",
               5,
               DeviceState::kNotProgrammed,
               "non programmée",
               0,
               0,
               false},
        MapRow{"torn last line",
               {kHeader + Line(kNord, Send(5, 12, 12), 100) +
                Line(kNord, Send(5, 12, -1), 200).substr(0, 40)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               1,
               1,
               false},
        MapRow{"bad lines skipped",
               {kHeader + "garbage\n\"unclosed,\n" + Line(kNord, Send(5, 12, 12), 100) +
                    "\"1\",\"2\"\n",
                "no header\n" + Line(kNord, Send(5, 12, 13), 900)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               5,
               1,
               false},
        MapRow{"timestamps wrong at a digit's or a separator's place",
               {kHeader + WrongTimestamps()},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               10,
               1,
               false},
        // The refused line comes between the two: they are the same line twice in a row.
        MapRow{"a refused line between two copies of a line",
               {kHeader + Line(kNord, Send(5, 12, 12), 100) + Line(kTooMany, Send(5, 12, 13), 100) +
                Line(kNord, Send(5, 12, 12), 100)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               1,
               2,
               false},
        MapRow{"modem parameter",
               {kHeader + Line(kNord, ModemSend(3, 7, "US010203V14000000000007000000\r\n"), 100)},
               "Station Nord",
               243,
               DeviceState::kVerified,
               "vérifiée",
               0,
               1,
               false},
        MapRow{"byte order mark",
               {"\xEF\xBB\xBF" + kHeader + Line(kNord, Send(5, 12, 12), 100)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               0,
               1,
               false},
        MapRow{"repeater count beyond the range",
               {kHeader + Line(kTooMany, Send(5, 12, 12), 100)},
               "Station Nord",
               5,
               DeviceState::kNotProgrammed,
               "non programmée",
               1,
               0,
               false},
        MapRow{"complete last record without line feed",
               {kHeader + WithoutLineFeed(Line(kNord, Send(5, 12, 12), 100))},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               0,
               1,
               false},
        MapRow{"reply cut by an unplug",
               {kHeader + Line(kNord, CutReply(5), 100)},
               "Station Nord",
               5,
               DeviceState::kNoReport,
               "envoyée, sans réponse",
               0,
               1,
               false},
        MapRow{"wait ended by the user",
               {kHeader + Line(kNord, Cancelled(Send(5, 12, -1)), 100)},
               "Station Nord",
               5,
               DeviceState::kCancelled,
               "envoyée, attente annulée",
               0,
               1,
               false},
        MapRow{"modem pause ended by the user",
               {kHeader + Line(kNord, Cancelled(ModemSend(3, 7, "")), 100)},
               "Station Nord",
               243,
               DeviceState::kCancelled,
               "envoyée, attente annulée",
               0,
               1,
               false},
        MapRow{"cancelled wait sent again and verified",
               {kHeader + Line(kNord, Cancelled(Send(5, 12, -1)), 100) +
                Line(kNord, Send(5, 12, 12), 101)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               0,
               2,
               false},
        MapRow{"silent after a cancelled wait",
               {kHeader + Line(kNord, Cancelled(Send(5, 12, -1)), 100) +
                Line(kNord, Send(5, 12, -1), 101)},
               "Station Nord",
               5,
               DeviceState::kNoReport,
               "envoyée, sans réponse",
               0,
               2,
               false},
        MapRow{"port that failed before a cancelled wait",
               {kHeader + Line(kNord, Cancelled(Send(5, 12, -1, false)), 100)},
               "Station Nord",
               5,
               DeviceState::kPortFailure,
               "échec du port",
               0,
               1,
               false},
        MapRow{"formula-leading name read back as it was",
               {kHeader + Line(kFormula, Send(5, 12, 12), 100)},
               "=HYPERLINK(\"x\")",
               5,
               DeviceState::kVerified,
               "vérifiée",
               0,
               1,
               false},
        MapRow{"line of commas longer than any record",
               {kHeader + std::string(3 << 20, ',') + "\n" + Line(kNord, Send(5, 12, 12), 100)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               1,
               1,
               false},
        MapRow{"sparse day file of 40 GB",
               {kHeader + Line(kNord, Send(5, 12, 12), 100)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               1,
               1,
               false,
               off_t{40} << 30},
        // Room for its records is not asked for in proportion to its length: it would be more
        // memory than any machine has.
        MapRow{"sparse day file of 4 TB",
               {kHeader + Line(kNord, Send(5, 12, 12), 100)},
               "Station Nord",
               5,
               DeviceState::kVerified,
               "vérifiée",
               1,
               1,
               false,
               off_t{4} << 40}),
    [](const auto& info) {
        std::string name;
        for (const char c : std::string(info.param.what)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

// What a reading of several folders takes in: each folder once, whatever the order and the
// spelling of the folders, every file it could not read named, and one state for ID 5.
struct ScanRow {
    const char* what;
    std::function<bool(const TempDir& dir)> plant;
    std::vector<std::string> folders;  // under the row's folder, as the user spelled them
    size_t entries;
    DeviceState state;                        // of ID 5
    std::vector<std::string> unreadable;      // the files left out, under the row's folder
    std::vector<std::string> leftAside = {};  // the files no reading takes in
    size_t repeated = 0;                      // records read again through a copy
    bool twoMachines = false;                 // ID 5's machines sent different values
    size_t skipped = 0;                       // lines that are no record, in every copy
};

void PrintTo(const ScanRow& row, std::ostream* out) {
    *out << row.what;
}

const timespec kSameInstant{1765270800, 0};

// Two folders: a's record of ID 5 differs, b's is verified, at the same instant; b's is the
// later line of its file.
bool PlantTie(const TempDir& dir) {
    return dir.WriteFile("a/2025-12-09.csv", kHeader + JournalFormat::RecordLine(
                                                           kNord, Send(5, 12, 13), kSameInstant)) &&
           dir.WriteFile("b/2025-12-09.csv",
                         kHeader + JournalFormat::RecordLine(kSud, Send(5, 12, 12), kSameInstant) +
                             JournalFormat::RecordLine(kNord, Send(5, 12, 12), kSameInstant));
}

bool PlantTwoRecords(const TempDir& dir) {
    return dir.WriteFile("a/2026-12-01.csv", kHeader + Line(kNord, Send(5, 12, 13), 100) +
                                                 Line(kNord, Send(5, 12, 12), 200));
}

// A record of ID 5 that would turn it to "differs" if a reading took it in.
const std::string kDiffering = kHeader + Line(kNord, Send(5, 12, 13), 300);

// Beside two machines' days, what sync tools leave: conflict copies, files in transfer, locks,
// and files of the user's own.
bool PlantLeftovers(const TempDir& dir) {
    const std::string one = kHeader + Line(kNord, Send(5, 12, 13), 100);
    const std::string two = kHeader + Line(kNord, Send(5, 12, 12), 200);
    for (const char* name :
         {"2026-12-01.poste-1.sync-conflict-20261201-101010-ABCDEFG.csv",
          "2026-12-01.poste-1 (conflicted copy 2026-12-01 101010).csv",
          "2026-12-01.poste-1 (poste-3's conflicted copy 2026-12-01).csv",
          "2026-12-01.poste-1-conflit.csv", ".syncthing.2026-12-01.poste-1.csv.tmp",
          "~syncthing~2026-12-01.poste-1.csv.tmp", "2026-12-01.poste-1.csv.part",
          ".~lock.2026-12-01.poste-1.csv#", "2026-12-01.poste-1.csv.tmp", ".hidden.csv",
          "notes.txt"}) {
        if (!dir.WriteFile(std::string("a/") + name, kDiffering)) {
            return false;
        }
    }
    return dir.WriteFile("a/2026-12-01.poste-1.csv", one) &&
           dir.WriteFile("a/2026-12-01.poste-2.csv", two) && dir.MakeDir("a/.stversions");
}

// The same records through a copy of the folder, a copy inside another folder, and a day
// file of the older name copied beside the new ones.
bool PlantCopies(const TempDir& dir) {
    const std::string day =
        kHeader + Line(kNord, Send(5, 12, 13), 100) + Line(kNord, Send(5, 12, 12), 200);
    return dir.WriteFile("a/2026-12-01.poste-1.csv", day) &&
           dir.WriteFile("b/2026-12-01.poste-1.csv", day) &&
           dir.WriteFile("c/2026-12-01.poste-1.csv", day.substr(0, day.size() - 1)) &&
           dir.WriteFile("d/2026-12-01.csv", day) && dir.WriteFile("e/2026-12-01.csv", day);
}

// One machine's same line twice in a row (two failed opens within a millisecond) is two
// records; the other machine's identical line is a third.
bool PlantRepeatedLine(const TempDir& dir) {
    const std::string failed = Line(kNord, Send(5, 12, -1, false), 100);
    return dir.WriteFile("a/2026-12-01.poste-1.csv", kHeader + failed + failed) &&
           dir.WriteFile("a/2026-12-01.poste-2.csv", kHeader + failed) &&
           dir.WriteFile("b/2026-12-01.poste-1.csv", kHeader + failed + failed);
}

// A record, a line that no reading takes, the record again: in a folder and in its copy.
bool PlantRefusedAmongCopies(const TempDir& dir) {
    const std::string day = kHeader + Line(kNord, Send(5, 12, 12), 100) +
                            Line(kTooMany, Send(5, 12, 13), 100) +
                            Line(kNord, Send(5, 12, 12), 100);
    return dir.WriteFile("a/2026-12-01.poste-1.csv", day) &&
           dir.WriteFile("b/2026-12-01.poste-1.csv", day);
}

// Two machines send ID 5, the first with CHF `first`, the second later with CHF 14; a third
// machine's journal holds reads only, and an older name's file another send.
std::function<bool(const TempDir&)> PlantTwoMachines(int32_t first) {
    return [first](const TempDir& dir) {
        ExchangeRecord read = Send(5, 12, 12);
        read.kind = ExchangeKind::ReadConfig;
        return dir.WriteFile("a/2026-12-01.poste-1.csv",
                             kHeader + Line(kNord, Send(5, first, first), 100)) &&
               dir.WriteFile("a/2026-12-01.poste-2.csv",
                             kHeader + Line(kNord, Send(5, 14, 14), 200)) &&
               dir.WriteFile("a/2026-12-01.poste-3.csv", kHeader + Line(kNord, read, 300)) &&
               dir.WriteFile("b/2026-12-01.csv", kHeader + Line(kNord, Send(5, 12, 12), 50));
    };
}

// Beside a good day, day files that are a link, a FIFO and a folder.
bool PlantUnreadable(const TempDir& dir) {
    return PlantTwoRecords(dir) && dir.WriteFile("elsewhere.csv", kHeader) &&
           dir.Link("a/2026-12-02.csv", dir / "elsewhere.csv") &&
           ::mkfifo((dir / "a/2026-12-03.csv").c_str(), 0600) == 0 &&
           dir.MakeDir("a/2026-12-04.csv");
}

class JournalScanRows : public ::testing::TestWithParam<ScanRow> {};

TEST_P(JournalScanRows, EachFolderOnceEveryFileAccountedFor) {
    const ScanRow& row = GetParam();
    TempDir dir;
    ASSERT_TRUE(row.plant(dir));
    std::vector<std::string> folders;
    for (const std::string& folder : row.folders) {
        folders.push_back(dir / folder);
    }
    const JournalScan scan = ReadJournal(folders, "Station Nord");
    CNetworkMap map("Station Nord");
    map.Add(scan.entries);
    EXPECT_EQ(scan.entries.size(), row.entries);
    EXPECT_EQ(map.Device(5).state, row.state);
    std::vector<std::string> unreadable;
    for (const std::string& name : row.unreadable) {
        unreadable.push_back(dir / name);
    }
    std::vector<std::string> named = scan.unreadableFiles;
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, unreadable);
    std::vector<std::string> aside;
    for (const std::string& name : row.leftAside) {
        aside.push_back(dir / name);
    }
    std::vector<std::string> asideNamed = scan.leftAside;
    std::sort(asideNamed.begin(), asideNamed.end());
    EXPECT_EQ(asideNamed, aside);
    EXPECT_EQ(scan.repeatedRecords, row.repeated);
    EXPECT_EQ(scan.skippedLines, row.skipped);
    EXPECT_EQ(map.Device(5).machinesDiffer, row.twoMachines);
    EXPECT_EQ(map.ProgrammedOnSeveralMachines(),
              row.twoMachines ? std::vector<int32_t>{5} : std::vector<int32_t>{});
    EXPECT_EQ(CellAccessibleName(5, map.Device(5)).ends_with(" · programmé sur 2 postes"),
              row.twoMachines);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JournalScanRows,
    ::testing::Values(
        ScanRow{"a folder given twice", PlantTwoRecords, {"a", "a"}, 2, DeviceState::kVerified, {}},
        ScanRow{"a folder spelled three ways",
                PlantTwoRecords,
                {"a", "a/.", "a/../a/"},
                2,
                DeviceState::kVerified,
                {}},
        ScanRow{"a tie in folder order", PlantTie, {"a", "b"}, 2, DeviceState::kVerified, {}},
        ScanRow{"a tie in the other order", PlantTie, {"b", "a"}, 2, DeviceState::kVerified, {}},
        ScanRow{"files that cannot be read are named",
                PlantUnreadable,
                {"a"},
                2,
                DeviceState::kVerified,
                {"a/2026-12-02.csv", "a/2026-12-03.csv", "a/2026-12-04.csv"}},
        ScanRow{"sync leftovers are left aside and named",
                PlantLeftovers,
                {"a"},
                2,
                DeviceState::kVerified,
                {},
                {"a/.hidden.csv", "a/.syncthing.2026-12-01.poste-1.csv.tmp",
                 "a/.~lock.2026-12-01.poste-1.csv#",
                 "a/2026-12-01.poste-1 (conflicted copy 2026-12-01 101010).csv",
                 "a/2026-12-01.poste-1 (poste-3's conflicted copy 2026-12-01).csv",
                 "a/2026-12-01.poste-1-conflit.csv", "a/2026-12-01.poste-1.csv.part",
                 "a/2026-12-01.poste-1.csv.tmp",
                 "a/2026-12-01.poste-1.sync-conflict-20261201-101010-ABCDEFG.csv", "a/notes.txt",
                 "a/~syncthing~2026-12-01.poste-1.csv.tmp"}},
        ScanRow{"a folder's copy is read once",
                PlantCopies,
                {"a", "b"},
                2,
                DeviceState::kVerified,
                {},
                {},
                2},
        ScanRow{"a copy without its last line feed",
                PlantCopies,
                {"a", "c"},
                2,
                DeviceState::kVerified,
                {},
                {},
                2},
        ScanRow{"the older names of a copy",
                PlantCopies,
                {"d", "e"},
                2,
                DeviceState::kVerified,
                {},
                {},
                2},
        ScanRow{"two machines, one ID",
                PlantTwoMachines(12),
                {"a", "b"},
                4,
                DeviceState::kVerified,
                {},
                {},
                0,
                true},
        ScanRow{"two machines, the same values",
                PlantTwoMachines(14),
                {"a", "b"},
                4,
                DeviceState::kVerified,
                {},
                {},
                0,
                false},
        ScanRow{"a line repeated in its file is two records",
                PlantRepeatedLine,
                {"a", "b"},
                3,
                DeviceState::kPortFailure,
                {},
                {},
                2},
        ScanRow{"a refused line among copies is skipped in each",
                PlantRefusedAmongCopies,
                {"a", "b"},
                2,
                DeviceState::kVerified,
                {},
                {},
                2,
                false,
                2}),
    [](const auto& info) {
        std::string name;
        for (const char c : std::string(info.param.what)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

// A day file swapped for a FIFO after it was first read: the follower must neither block on
// it nor go on as if it had read it.
TEST(NetworkMapTest, FollowerNamesADayFileSwappedForAFifo) {
    TempDir dir;
    ASSERT_TRUE(PlantTwoRecords(dir));
    CJournalFollower follower(dir / "a", "Station Nord");
    ASSERT_EQ(follower.ReadNew().size(), 2u);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::rename((dir / "fifo").c_str(), (dir / "a/2026-12-01.csv").c_str()), 0);
    EXPECT_TRUE(follower.ReadNew().empty());
    EXPECT_EQ(follower.UnreadableFiles(), std::vector<std::string>{dir / "a/2026-12-01.csv"});
}

TEST(NetworkMapTest, BandsCountAndFollowerReadsOnlyWhatIsNew) {
    TempDir dir;
    CJournal journal(dir.Path());
    const timespec day{100000, 0};
    ASSERT_EQ(journal.Append(kNord, Send(1, 12, 12), day), JOURNAL_OK);
    ASSERT_EQ(journal.Append(kNord, Send(2, 12, 13), day), JOURNAL_OK);
    CJournalFollower follower(dir.Path(), "Station Nord");
    CNetworkMap map("Station Nord");
    map.Add(follower.ReadNew());
    ASSERT_EQ(map.EntryCount(), 2u);
    const JournalContext sensorPage{"Client", "Capteur", "COM900", "Station Nord", 20};
    ASSERT_EQ(journal.Append(sensorPage, Send(25, 12, -1), day), JOURNAL_OK);
    ASSERT_EQ(journal.Append(kSud, Send(26, 12, 12), day), JOURNAL_OK);
    const std::vector<JournalEntry> fresh = follower.ReadNew();
    ASSERT_EQ(fresh.size(), 1u);
    map.Add(fresh);
    EXPECT_TRUE(follower.ReadNew().empty());
    EXPECT_EQ(map.RepeaterCount(), 20);
    EXPECT_EQ(BandSummary(map, map.RepeaterCount()),
              "Répéteurs 1/20 vérifiés, 1 à reprendre · Capteurs 0/220 vérifiés, 1 à reprendre");
    EXPECT_EQ(map.Sensors(20).silent, 1);
    EXPECT_EQ(CellAccessibleName(2, map.Device(2)), "ID 2 : CHF envoyé 012, lu 013");
}

// What the follower hands over, record by record, in one entry reused from one to the next:
// nothing a record read before leaves may show through, and the order is time's whatever the
// files' order.
struct HandedRow {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // name, contents
    std::vector<std::string> handed;  // second|report or -|repeaters|cause's size|file:line
    // Done to the folder when the first record is handed, while the others are being read;
    // `next` is what the following reading hands then.
    std::function<void(const std::string& folder)> meanwhile = nullptr;
    std::vector<std::string> next = {};
};

std::string Handed(const JournalEntry& entry) {
    return std::to_string(entry.epochMs / 1000) + "|" + entry.report.value_or("-") + "|" +
           std::to_string(entry.repeaterCount) + "|" + std::to_string(entry.cause.size()) + "|" +
           entry.fileName + ":" + std::to_string(entry.lineNumber);
}

std::string CrLf(std::string line) {
    line.insert(line.size() - 1, "\r");
    return line;
}

ExchangeRecord WithCause(ExchangeRecord record, size_t size) {
    record.cause.assign(size, 'c');
    return record;
}

const JournalContext kNordUncounted{"Client", "Répéteur", "COM900", "Station Nord", -1};
const std::string kReport12 = "TM010203V14001012100007003A00\r\n";

// A machine's two days and another's first, all but the latest day in the folder's order of names.
std::vector<std::pair<std::string, std::string>> TwoMachines() {
    return {{"2026-12-01.poste-1.csv",
             kHeader + Line(kNord, Send(1, 12, -1), 10) + Line(kNord, Send(1, 12, -1), 30)},
            {"2026-12-01.poste-2.csv", kHeader + Line(kNord, Send(1, 12, -1), 20)},
            {"2026-12-02.poste-1.csv", kHeader + Line(kNord, Send(1, 12, -1), 40)}};
}

const std::vector<std::string> kTwoMachinesFirstDay = {"10|-|20|0|2026-12-01.poste-1.csv:2",
                                                       "20|-|20|0|2026-12-01.poste-2.csv:2",
                                                       "30|-|20|0|2026-12-01.poste-1.csv:3"};

std::string WithoutLastField(const std::string& line) {
    return line.substr(0, line.rfind(',')) + "\n";
}

std::vector<std::string> WithLast(std::vector<std::string> handed, const std::string& last) {
    handed.push_back(last);
    return handed;
}

void AppendTo(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "ab");
    ASSERT_NE(file, nullptr);
    std::fputs(text.c_str(), file);
    std::fclose(file);
}

// Another file put in its place at once, as a sync tool does.
void Replace(const std::string& path, const std::string& text) {
    FILE* file = std::fopen((path + ".new").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs(text.c_str(), file);
    std::fclose(file);
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
}

const HandedRow kHandedRows[] = {
    {"ReportAndCountThenNeither",
     {{"2026-12-01.csv", kHeader + Line(kNord, WithCause(Send(1, 12, 12), 3), 10) +
                             Line(kNordUncounted, Send(1, 12, -1), 20)}},
     {"10|" + kReport12 + "|20|3|2026-12-01.csv:2", "20|-|-1|0|2026-12-01.csv:3"}},
    {"MachinesInterleavedByTime",
     {{"2026-12-01.poste-1.csv",
       kHeader + Line(kNord, Send(1, 12, -1), 10) + Line(kNord, Send(1, 12, -1), 30)},
      {"2026-12-01.poste-2.csv",
       kHeader + Line(kNord, Send(1, 12, -1), 20) + Line(kNord, Send(1, 12, -1), 30)}},
     {"10|-|20|0|2026-12-01.poste-1.csv:2", "20|-|20|0|2026-12-01.poste-2.csv:2",
      "30|-|20|0|2026-12-01.poste-1.csv:3", "30|-|20|0|2026-12-01.poste-2.csv:3"}},
    {"LineLongerThanAPieceAmongShortOnes",
     {{"2026-12-01.csv", kHeader + Line(kNord, Send(1, 12, -1), 10) +
                             Line(kNord, WithCause(Send(1, 12, -1), 200000), 20) +
                             Line(kNord, Send(1, 12, -1), 30)}},
     {"10|-|20|0|2026-12-01.csv:2", "20|-|20|200000|2026-12-01.csv:3",
      "30|-|20|0|2026-12-01.csv:4"}},
    {"ByteOrderMarkCrLfAndATornLastLine",
     {{"2026-12-01.csv", "\xEF\xBB\xBF" + kHeader + CrLf(Line(kNord, Send(1, 12, -1), 10)) +
                             WithoutLineFeed(Line(kNord, Send(1, 12, 12), 20))}},
     {"10|-|20|0|2026-12-01.csv:2", "20|" + kReport12 + "|20|0|2026-12-01.csv:3"}},
    {"ClockPutBackInOneMachinesFile",
     {{"2026-12-01.poste-1.csv", kHeader + Line(kNord, Send(1, 12, -1), 10) +
                                     Line(kNord, Send(1, 12, -1), 30) +
                                     Line(kNord, Send(1, 12, -1), 20)},
      {"2026-12-01.poste-2.csv",
       kHeader + Line(kNord, Send(1, 12, -1), 15) + Line(kNord, Send(1, 12, -1), 25)}},
     {"10|-|20|0|2026-12-01.poste-1.csv:2", "15|-|20|0|2026-12-01.poste-2.csv:2",
      "20|-|20|0|2026-12-01.poste-1.csv:4", "25|-|20|0|2026-12-01.poste-2.csv:3",
      "30|-|20|0|2026-12-01.poste-1.csv:3"}},
    {"OneInstantInFilesOrderAcrossDaysAndMachines",
     {{"2026-12-01.poste-1.csv",
       kHeader + Line(kNord, Send(1, 12, -1), 10) + Line(kNord, Send(1, 12, -1), 20)},
      {"2026-12-01.poste-2.csv",
       kHeader + Line(kNord, Send(1, 12, -1), 10) + Line(kNord, Send(1, 12, -1), 20)},
      {"2026-12-02.poste-1.csv",
       kHeader + Line(kNord, Send(2, 12, -1), 20) + Line(kNord, Send(2, 12, -1), 30)},
      {"2026-12-02.poste-2.csv", kHeader + Line(kNord, Send(2, 12, -1), 20)}},
     {"10|-|20|0|2026-12-01.poste-1.csv:2", "10|-|20|0|2026-12-01.poste-2.csv:2",
      "20|-|20|0|2026-12-01.poste-1.csv:3", "20|-|20|0|2026-12-01.poste-2.csv:3",
      "20|-|20|0|2026-12-02.poste-1.csv:2", "20|-|20|0|2026-12-02.poste-2.csv:2",
      "30|-|20|0|2026-12-02.poste-1.csv:3"}},
    {"HeaderAgainMidFileWithoutItsLastColumn",
     {{"2026-12-01.poste-1.csv", kHeader + Line(kNord, Send(1, 12, -1), 10) +
                                     WithoutLastField(kHeader) +
                                     WithoutLastField(Line(kNord, Send(1, 12, -1), 30))},
      {"2026-12-01.poste-2.csv", kHeader + Line(kNord, Send(1, 12, -1), 20)}},
     {"10|-|20|0|2026-12-01.poste-1.csv:2", "20|-|20|0|2026-12-01.poste-2.csv:2",
      "30|-|-1|0|2026-12-01.poste-1.csv:4"}},
    {"DayFileGrownWhileRead",
     TwoMachines(),
     WithLast(kTwoMachinesFirstDay, "40|-|20|0|2026-12-02.poste-1.csv:2"),
     [](const std::string& folder) {
         AppendTo(folder + "/2026-12-02.poste-1.csv", Line(kNord, Send(1, 12, -1), 50));
     },
     {"50|-|20|0|2026-12-02.poste-1.csv:3"}},
    {"DayFileReplacedWhileRead", TwoMachines(),
     WithLast(kTwoMachinesFirstDay, "45|-|20|0|2026-12-02.poste-1.csv:3"),
     [](const std::string& folder) {
         Replace(folder + "/2026-12-02.poste-1.csv",
                 kHeader + Line(kSud, Send(1, 12, -1), 44) + Line(kNord, Send(1, 12, -1), 45));
     }},
    {"DayFileCutWhileRead", TwoMachines(), kTwoMachinesFirstDay,
     [](const std::string&
            folder) { ASSERT_EQ(::truncate((folder + "/2026-12-02.poste-1.csv").c_str(), 0), 0); }},
};

class HandedRows : public ::testing::TestWithParam<HandedRow> {};

TEST_P(HandedRows, EachRecordAsIfReadAlone) {
    const HandedRow& row = GetParam();
    TempDir dir;
    for (const auto& [name, contents] : row.files) {
        ASSERT_TRUE(dir.WriteFile(name, contents));
    }
    CJournalFollower follower(dir.Path(), "Station Nord");
    follower.TakeUnfinishedLines();
    std::vector<std::string> handed;
    const size_t count = follower.ReadNew([&](const JournalEntry& entry) {
        if (handed.empty() && row.meanwhile) {
            row.meanwhile(dir.Path());
        }
        handed.push_back(Handed(entry));
    });
    EXPECT_EQ(handed, row.handed);
    EXPECT_EQ(count, row.handed.size());
    EXPECT_EQ(follower.SkippedLines(), 0u);
    std::vector<std::string> next;
    follower.ReadNew([&next](const JournalEntry& entry) { next.push_back(Handed(entry)); });
    EXPECT_EQ(next, row.next);
    EXPECT_EQ(follower.RepeatedRecords(), 0u);
    if (row.meanwhile) {
        return;  // what the folder holds now is what was handed over two readings
    }
    // The entries the report keeps are the same, in the same order.
    std::vector<std::string> kept;
    for (const JournalEntry& entry : ReadJournal({dir.Path()}, "Station Nord").entries) {
        kept.push_back(Handed(entry));
    }
    EXPECT_EQ(kept, row.handed);
}

INSTANTIATE_TEST_SUITE_P(Rows, HandedRows, ::testing::ValuesIn(kHandedRows),
                         [](const auto& info) { return std::string(info.param.what); });

// Every state the map knows, as each reader of the states' table shows it: the cell's mark
// and words, the legend (sheet and report picture), the cells' accessible names.
struct StateRow {
    DeviceState state;
    const char* mark;
    const char* words;
    size_t legendPlace;
};

void PrintTo(const StateRow& row, std::ostream* out) {
    *out << row.words;
}

const StateRow kStateRows[] = {
    {DeviceState::kVerified, "✓", "vérifiée", 0},
    {DeviceState::kDiffers, "≠", "valeurs lues différentes", 1},
    {DeviceState::kNoReport, "?", "envoyée, sans réponse", 2},
    {DeviceState::kPortFailure, "✗", "échec du port", 3},
    {DeviceState::kNotProgrammed, "·", "non programmée", 4},
    {DeviceState::kCancelled, "⊘", "envoyée, attente annulée", 5},
};

class MapStateRows : public ::testing::TestWithParam<StateRow> {};

TEST_P(MapStateRows, EveryReaderShowsTheTablesWords) {
    const StateRow& row = GetParam();
    MapCell cell;
    cell.state = row.state;
    EXPECT_EQ(StateMark(row.state), row.mark);
    EXPECT_EQ(StateWords(cell), row.words);
    EXPECT_EQ(LegendItems()[row.legendPlace], std::string(row.mark) + " " + row.words);
    EXPECT_EQ(LegendStates()[row.legendPlace], row.state);
    EXPECT_EQ(ModemCellAccessibleName(3, cell), std::string("Modem P0 : ") + row.words);
    EXPECT_EQ(CellAccessibleName(12, cell), std::string("ID 12 : ") + row.words);
}

INSTANTIATE_TEST_SUITE_P(States, MapStateRows, ::testing::ValuesIn(kStateRows));

// A state added to the table without its words, its mark, a fill of its own or a row above
// shows as nothing, or as another state, somewhere.
TEST(MapStatesTest, EveryStateHasItsOwnMarkWordsAndFill) {
    std::set<std::string> marks, words;
    std::set<std::tuple<int, int, int>> fills;
    for (const MapStateInfo& info : kMapStates) {
        SCOPED_TRACE(static_cast<int>(info.state));
        ASSERT_NE(info.mark, nullptr);
        ASSERT_NE(info.words, nullptr);
        EXPECT_FALSE(std::string(info.mark).empty());
        EXPECT_FALSE(std::string(info.words).empty());
        marks.insert(info.mark);
        words.insert(info.words);
        fills.insert({info.fill.red, info.fill.green, info.fill.blue});
    }
    EXPECT_EQ(marks.size(), kDeviceStateCount);
    EXPECT_EQ(words.size(), kDeviceStateCount);
    EXPECT_EQ(fills.size(), kDeviceStateCount);
    EXPECT_EQ(std::size(kStateRows), kDeviceStateCount);
}

// A cell that differs says what its verdict found, judged again from what went out and came
// back, not the state's words.
TEST(MapStatesTest, ADifferingCellSaysItsVerdict) {
    CNetworkMap map("Station Nord");
    JournalEntry entry;
    entry.network = "Station Nord";
    entry.kind = ExchangeKind::SendConfig;
    entry.command = "u00501307A003101";
    entry.bytesSent = entry.command + "\nu\n";
    entry.report = "TM010203V14005012100007003A00\r\n";
    map.Add(entry);
    EXPECT_EQ(map.Device(5).state, DeviceState::kDiffers);
    EXPECT_EQ(StateWords(map.Device(5)), "CHF envoyé 013, lu 012; OFT envoyé 101, lu 100");
    entry.kind = ExchangeKind::SendModemParam;
    entry.command = "o 099";
    map.Add(entry);
    EXPECT_EQ(ModemCellAccessibleName(6, map.ModemParam(6)), "Modem OFT : OFT envoyé 099, lu 100");
}

// A device's band is the page that programmed it, whatever repeater count is typed later;
// sends from elsewhere (the command line, the custom dialog, a journal that names no editor)
// follow the ID range.
struct BandRow {
    const char* what;
    std::vector<std::pair<const char*, int32_t>> sends;  // editor and ID, at 4 repeaters
    int32_t countNow;
    const char* summary;
};

void PrintTo(const BandRow& row, std::ostream* out) {
    *out << row.what;
}

class BandRows : public ::testing::TestWithParam<BandRow> {};

TEST_P(BandRows, TheEditorThatWroteARecordGivesItsBand) {
    const BandRow& row = GetParam();
    TempDir dir;
    std::string file = kHeader;
    time_t second = 100;
    for (const auto& [editor, id] : row.sends) {
        file += Line({"Administateur", editor, "COM900", "Station Nord", 4}, Send(id, 12, 12),
                     ++second);
    }
    ASSERT_TRUE(dir.WriteFile("2026-12-01.csv", file));
    CNetworkMap map("Station Nord");
    map.Add(ReadJournal({dir.Path()}, "Station Nord").entries);
    ASSERT_EQ(map.EntryCount(), row.sends.size());
    EXPECT_EQ(BandSummary(map, row.countNow), row.summary);
    const CNetworkMap::Band repeaters = map.Repeaters(row.countNow);
    const CNetworkMap::Band sensors = map.Sensors(row.countNow);
    EXPECT_EQ(repeaters.total + sensors.total, 240);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BandRows,
    ::testing::Values(
        BandRow{"sensors_stay_sensors_when_six_repeaters_are_typed",
                {{"Répéteur", 1},
                 {"Répéteur", 2},
                 {"Répéteur", 3},
                 {"Répéteur", 4},
                 {"Capteur", 5},
                 {"Capteur", 6}},
                6,
                "Répéteurs 4/4 vérifiés · Capteurs 2/236 vérifiés"},
        BandRow{"repeaters_stay_repeaters_when_two_are_typed",
                {{"Répéteur", 1}, {"Répéteur", 2}, {"Répéteur", 3}, {"Répéteur", 4}},
                2,
                "Répéteurs 4/4 vérifiés · Capteurs 0/236 vérifiés"},
        BandRow{"command_line_sends_follow_the_id_range",
                {{"ligne de commande", 1}, {"ligne de commande", 5}},
                6,
                "Répéteurs 2/6 vérifiés · Capteurs 0/234 vérifiés"},
        BandRow{"no_editor_follows_the_id_range",
                {{"", 5}, {"Configuration personnalisée", 7}},
                6,
                "Répéteurs 1/6 vérifiés · Capteurs 1/234 vérifiés"},
        BandRow{"the_latest_page_wins_and_the_command_line_keeps_it",
                {{"Capteur", 3}, {"Répéteur", 3}, {"Répéteur", 9}, {"ligne de commande", 9}},
                4,
                "Répéteurs 2/5 vérifiés · Capteurs 0/235 vérifiés"}));

// A plan of two devices of Station Nord (4 repeaters): repeater 3 "Pompe 3", sensor 12
// without a label; both planned with CHF 012 and otherwise what Send() writes.
SitePlan TwoDevicePlan() {
    SitePlan plan(SiteFacts{"Station Nord", "Client", "Site", "", 4});
    plan.AddDevice({3, PlanRole::kRepeater, "Pompe 3", "Local", {3, 12, 7, "A", 3, 100}});
    plan.AddDevice({12, PlanRole::kSensor, "", "", {12, 12, 7, "A", 3, 100}});
    return plan;
}

struct PlanSend {
    int32_t chf;
    int32_t readChf;  // negative: nothing came back
    bool written = true;
    bool cut = false;        // the reply stopped after its first bytes
    bool cancelled = false;  // the user ended the wait
};

JournalEntry PlanEntry(int32_t id, const PlanSend& send) {
    JournalEntry entry;
    entry.network = "Station Nord";
    entry.kind = ExchangeKind::SendConfig;
    char frame[32];
    std::snprintf(frame, sizeof frame, "u%03d%03d07A003100", id, send.chf);
    entry.command = frame;
    if (send.written) {
        entry.bytesSent = entry.command + "\nu\n";
    }
    if (send.readChf >= 0) {
        char report[48];
        std::snprintf(report, sizeof report, "TM010203V14%03d%03d100007003A00\r\n", id,
                      send.readChf);
        entry.report = send.cut ? std::string(report).substr(0, 6) : std::string(report);
    }
    entry.cancelled = send.cancelled;
    return entry;
}

struct PlanStateRow {
    const char* what;
    int32_t id;
    std::vector<PlanSend> sends;  // in time order
    PlanState state;
    const char* name;  // the cell's accessible name
};

void PrintTo(const PlanStateRow& row, std::ostream* out) {
    *out << row.what;
}

class PlanStateRows : public ::testing::TestWithParam<PlanStateRow> {};

TEST_P(PlanStateRows, LatestReadBackAgainstThePlan) {
    const PlanStateRow& row = GetParam();
    const SitePlan plan = TwoDevicePlan();
    CNetworkMap map("Station Nord");
    for (const PlanSend& send : row.sends) {
        map.Add(PlanEntry(row.id, send));
    }
    const PlanState state = DevicePlanState(plan, map, row.id);
    EXPECT_EQ(state, row.state);
    const PlannedDevice* planned = plan.Find(row.id);
    EXPECT_EQ(PlanCellAccessibleName(row.id, planned ? planned->label : "", state), row.name);
    const PlanRole role = BandOf(row.id, 4);
    const bool conforme = row.state == PlanState::kConforme;
    EXPECT_EQ(CountAgainstPlan(plan, map, role).conforme, conforme ? 1 : 0);
    EXPECT_EQ(CountAgainstPlan(plan, map, role).planned, 1);
    // The walk's next device to do is this one until it is conforme, then none of its band.
    const std::optional<int32_t> next = FirstToDo(plan, map, role);
    if (planned != nullptr && !conforme) {
        EXPECT_EQ(next, row.id);
    } else if (planned != nullptr) {
        EXPECT_EQ(next, std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Plan, PlanStateRows,
    ::testing::Values(
        PlanStateRow{
            "conforme", 3, {{12, 12}}, PlanState::kConforme, "ID 3 Pompe 3 : conforme au plan"},
        PlanStateRow{"sent and read other than planned",
                     3,
                     {{13, 13}},
                     PlanState::kDiffersFromPlan,
                     "ID 3 Pompe 3 : différente du plan"},
        PlanStateRow{"read neither sent nor planned",
                     12,
                     {{13, 14}},
                     PlanState::kDiffersFromSent,
                     "ID 12 : valeurs lues différentes de l'envoi"},
        PlanStateRow{"read differs from sent but is the plan",
                     12,
                     {{13, 12}},
                     PlanState::kConforme,
                     "ID 12 : conforme au plan"},
        PlanStateRow{
            "silent", 3, {{12, -1}}, PlanState::kSilent, "ID 3 Pompe 3 : envoyée, sans réponse"},
        PlanStateRow{"reply cut",
                     3,
                     {{12, 12, true, true}},
                     PlanState::kSilent,
                     "ID 3 Pompe 3 : envoyée, sans réponse"},
        PlanStateRow{"wait ended by the user",
                     3,
                     {{12, -1, true, false, true}},
                     PlanState::kSilent,
                     "ID 3 Pompe 3 : envoyée, sans réponse"},
        PlanStateRow{"port failure",
                     12,
                     {{12, -1, false}},
                     PlanState::kPortFailure,
                     "ID 12 : échec du port"},
        PlanStateRow{"not done", 3, {}, PlanState::kNotDone, "ID 3 Pompe 3 : à faire"},
        PlanStateRow{"not planned, though done",
                     30,
                     {{12, 12}},
                     PlanState::kNotPlanned,
                     "ID 30 : hors plan"},
        PlanStateRow{"silent then redone",
                     3,
                     {{12, -1}, {12, 12}},
                     PlanState::kConforme,
                     "ID 3 Pompe 3 : conforme au plan"},
        PlanStateRow{"conforme then changed",
                     12,
                     {{12, 12}, {14, 14}},
                     PlanState::kDiffersFromPlan,
                     "ID 12 : différente du plan"}));

// The counts, the modem included, say how many planned cells are conforme.
TEST(PlanStatesTest, SummaryCountsTheModemAgainstItsPlan) {
    SitePlan plan = TwoDevicePlan();
    CNetworkMap map("Station Nord");
    map.Add(PlanEntry(3, {12, 12}));
    map.Add(PlanEntry(12, {12, -1}));
    EXPECT_EQ(PlanSummary(plan, map), "Répéteurs 1/1 conformes · Capteurs 0/1 conformes");
    PlannedModem modem;
    modem.values = {0, 12, 100, 7, 3, 0};  // by Param: ID, CHF, OFT, P0, PRT, TYP
    plan.SetModem(modem);
    JournalEntry entry = PlanEntry(3, {12, 12});
    entry.kind = ExchangeKind::SendModemParam;
    entry.command = "o 100";
    entry.bytesSent = "o 100\nv\n";
    map.Add(entry);
    EXPECT_EQ(ModemPlanState(plan, map, 6), PlanState::kConforme);
    EXPECT_EQ(ModemPlanState(plan, map, 1), PlanState::kNotDone);
    EXPECT_EQ(ModemPlanState(SitePlan(), map, 6), PlanState::kNotPlanned);
    EXPECT_EQ(PlanSummary(plan, map),
              "Répéteurs 1/1 conformes · Capteurs 0/1 conformes · Modem 1/6 conformes");
}

}  // namespace
