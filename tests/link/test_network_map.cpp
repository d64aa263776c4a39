#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CJournal.h"
#include "CJournalReader.h"
#include "CNetworkMap.h"
#include "JournalFormat.h"
#include "MapTexts.h"
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
};

class NetworkMapRows : public ::testing::TestWithParam<MapRow> {};

TEST_P(NetworkMapRows, JournalLinesGiveTheState) {
    const MapRow& row = GetParam();
    TempDir dir;
    for (size_t i = 0; i < row.files.size(); ++i) {
        ASSERT_TRUE(dir.WriteFile("2026-12-0" + std::to_string(i + 1) + ".csv", row.files[i]));
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
}

const std::string kHeader = JournalFormat::HeaderLine();

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
        MapRow{"modem parameter",
               {kHeader + Line(kNord, ModemSend(3, 7, "US010203V14000000000007000000\r\n"), 100)},
               "Station Nord",
               243,
               DeviceState::kVerified,
               "vérifiée",
               0,
               1,
               false}),
    [](const auto& info) {
        std::string name;
        for (const char c : std::string(info.param.what)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

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
    ASSERT_EQ(journal.Append(kNord, Send(25, 12, -1), day), JOURNAL_OK);
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

}  // namespace
