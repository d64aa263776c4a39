#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "CPlanStore.h"
#include "FileStatus.h"
#include "PlanCsv.h"
#include "PlanReader.h"
#include "PlanWriter.h"
#include "TempDir.h"

namespace {

const std::string kFacts =
    "réseau;Station Nord\nclient;Eaux du Val\nsite;Usine 2\nadresse;3 rue du Port\nrépéteurs;4\n";
const std::string kHeader = "id;rôle;désignation;emplacement;CHF;OFT;P0;PRT;TYP\n";
const std::string kGood = kFacts + kHeader +
                          "# the pumps\n"
                          "1;répéteur;Relais toit;Toit;12;100;60;0;3\n"
                          "\n"
                          "5;capteur;Pompe 3;Local pompes;12;100;60;0;A\n"
                          "240;capteur;;;12;100;7;1;é\n"
                          "9;modem;Modem;Armoire;12;100;60;0;255\n";

// The same plan as a spreadsheet writes it with commas: quotes, trailing empty cells, CR LF.
std::string WithCommas() {
    return "\xEF\xBB\xBFR\xC3\xA9seau,Station Nord,,\r\nclient,Eaux du Val\r\nSITE,Usine 2\r\n"
           "adresse,\"3 rue du Port\"\r\nREPETEURS,4\r\n,,,\r\n"
           "ID,Role,Designation,EMPLACEMENT,chf,oft,p0,prt,typ\r\n"
           "1,Répéteur,Relais toit,Toit,12,100,60,0,3\r\n"
           "5,CAPTEUR,\"Pompe 3\",Local pompes,12,100,60,0,A,,\r\n"
           "240,capteur,,,12,100,7,1,é\r\n"
           "9,Modem,Modem,Armoire,12,100,60,0,255\r\n";
}

struct Expected {
    size_t line;
    std::string reason;  // a part of the reason
};

struct ReaderRow {
    const char* name;
    std::string text;
    std::vector<Expected> problems;  // none: the plan is read
    // When not 0: at most this many problems, the last ones those above.
    size_t atMost = 0;
    // Makes a text of many megabytes instead, when its row runs: each test of the table is a
    // process of its own, which would otherwise build every large text at its start.
    std::function<std::string()> large = {};
};

std::string Plan(const std::string& rows, const std::string& facts = kFacts) {
    return facts + kHeader + rows;
}

std::string Many(size_t count, const std::string& line) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += line;
    }
    return text;
}

const std::vector<ReaderRow> kReaderRows = {
    {"semicolons", kGood, {}},
    {"commas_bom_crlf_accents_and_case_in_the_header", WithCommas(), {}},
    {"quoted_fields_with_separators_and_doubled_quotes",
     Plan("5;capteur;\"Pompe \"\"A\"\"; nord\";\" Local \";12;100;60;0;\";\"\n"),
     {}},
    {"id_outside_the_network",
     Plan("0;capteur;;;1;1;1;1;A\n241;capteur;;;1;1;1;1;A\n"),
     {{7, "ID : Tapez un nombre entier compris entre 1 et 240."},
      {8, "ID : Tapez un nombre entier compris entre 1 et 240."}}},
    {"repeater_beyond_the_count",
     Plan("5;répéteur;;;1;1;1;1;A\n"),
     {{7, "le répéteur 5 dépasse les 4 répéteurs"}}},
    {"repeater_in_a_network_without_any",
     Plan("1;répéteur;;;1;1;1;1;A\n", "réseau;N\nrépéteurs;0\n"),
     {{4, "le réseau n'a aucun répéteur"}}},
    {"sensor_among_the_repeaters",
     Plan("4;capteur;;;1;1;1;1;A\n"),
     {{7, "le capteur 4 a un ID de répéteur (capteurs de 5 à 240)"}}},
    {"id_twice",
     Plan("7;capteur;;;1;1;1;1;A\n7;capteur;;;1;1;1;1;A\n"),
     {{8, "ID 7 déjà planifié ligne 7"}}},
    {"value_outside_the_pages_range",
     Plan("7;capteur;;;256;1;-1;1;A\n"),
     {{7, "CHF : Tapez un nombre entier compris entre 0 et 255."},
      {7, "P0 : Tapez un nombre entier compris entre 0 et 255."}}},
    {"value_not_a_number", Plan("7;capteur;;;1;1;1;x;A\n"), {{7, "PRT : Tapez un nombre entier."}}},
    {"typ_not_one_printable_character",
     Plan("7;capteur;;;1;1;1;1;AB\n8;capteur;;;1;1;1;1;\x7F\n"),
     {{7, "Le TYP doit être un caractère imprimable."},
      {8, "Le TYP doit être un caractère imprimable."}}},
    {"missing_columns_in_a_row",
     Plan("7;capteur;;;1;1;1\n"),
     {{7, "colonne « PRT » manquante"}, {7, "colonne « TYP » manquante"}}},
    {"missing_column_in_the_header",
     kFacts + "id;rôle;désignation;emplacement;CHF;OFT;P0;PRT\n",
     {{6, "colonne « TYP » manquante"}}},
    {"unknown_role_quoted_short_and_harmless",
     Plan("7;" + std::string(29, 'x') + "\x1B" + Many(10, "é") + ";;;1;1;1;1;A\n"),
     {{7, "rôle « " + std::string(29, 'x') + "?ééééé… » inconnu"}}},
    {"unknown_role", Plan("7;sonde;;;1;1;1;1;A\n"), {{7, "rôle « sonde » inconnu"}}},
    {"second_modem",
     Plan("1;modem;;;1;1;1;1;0\n2;modem;;;1;1;1;1;0\n"),
     {{8, "un seul modem par plan (le premier est ligne 7)"}}},
    {"modem_values_by_the_modem_page",
     Plan("256;modem;;;1;1;1;1;7\n"),
     {{7, "ID : Tapez un nombre entier compris entre 0 et 255."},
      {7, "TYP : Le type d'un modem doit être égal à 0 ou 255."}}},
    {"repeater_count_missing",
     "réseau;N\n" + kHeader + "7;capteur;;;1;1;1;1;A\n",
     {{0, "clé « répéteurs » absente"}}},
    {"repeater_count_invalid",
     Plan("7;capteur;;;1;1;1;1;A\n", "réseau;N\nrépéteurs;300\n"),
     {{2, "répéteurs : Tapez un nombre entier compris entre 0 et 240."}}},
    {"network_missing_and_fact_after_the_header",
     "répéteurs;4\n" + kHeader + "réseau;N\n7;capteur;;;1;1;1;1;A\n",
     {{3, "« réseau » doit venir avant la ligne des colonnes"}, {0, "clé « réseau » absente"}}},
    {"several_bad_rows_reported_together",
     Plan("1;répéteur;;;1;1;1;1;A\n2;capteur;;;1;1;1;1;A\n"
          "3;répéteur;;;1;999;1;1;A\n3;répéteur;;;1;1;1;1;A\n300;capteur;;;1;1;1;1;A\n"),
     {{8, "le capteur 2 a un ID de répéteur"},
      {9, "OFT : Tapez un nombre entier compris entre 0 et 255."},
      {10, "ID 3 déjà planifié ligne 9"},
      {11, "ID : Tapez un nombre entier compris entre 1 et 240."}}},
    {"control_character_in_a_label",
     Plan("7;capteur;Pompe\x1B[2J;;1;1;1;1;A\n"),
     {{7, "désignation : caractère de contrôle"}}},
    {"open_quote", Plan("7;capteur;\"Pompe;;1;1;1;1;A\n"), {{7, "guillemet ouvert"}}},
    {"no_header", kFacts, {{0, "ligne des colonnes absente"}}},
    {"latin1_file",
     "r\xE9seau;N\nr\xE9p\xE9teurs;4\n" + kHeader + "7;capteur;;;1;1;1;1;A\n",
     {{1, "pas de l'UTF-8"},
      {2, "pas de l'UTF-8"},
      {0, "clé « réseau » absente"},
      {0, "clé « répéteurs » absente"}}},
    {"binary_input",
     std::string("\x00\xFF\xFE;\x01\n\x89PNG\r\n\x1A\n", 14),
     {{1, "pas de l'UTF-8"},
      {2, "pas de l'UTF-8"},
      {3, "clé « ? » inconnue"},
      {0, "réseau"},
      {0, "répéteurs"},
      {0, "ligne des colonnes absente"}}},
    {"line_of_20_mb",
     {},
     {{0, "fichier trop long"}},
     0,
     [] { return Plan(std::string(20u << 20, 'x') + "\n7;capteur;;;1;1;1;1;A\n"); }},
    {"line_past_the_line_limit",
     Plan(std::string(5000, 'x') + "\n7;capteur;;;1;1;1;1;A\n"),
     {{7, "ligne trop longue (plus de 4096 octets)"}}},
    {"rows_100000",
     {},
     {{1001, "plus de 1000 lignes"}},
     PlanReader::kRecordLimit,
     [] { return Plan(Many(100000, "7;capteur;;;1;1;1;1;A\n")); }},
    {"bad_lines_past_the_limit_stop_the_reading",
     {},
     {{1001, "plus de 1000 lignes"}},
     PlanReader::kRecordLimit + 1,
     [] { return Many(3000, "\xFF\n") + Many(1500, std::string(5000, 'x') + "\n"); }},
    {"rows_100000_blank_and_comment_lines_are_free",
     {},
     {},
     0,
     [] { return Plan(Many(50000, "\n# note\n") + "7;capteur;;;1;1;1;1;A\n"); }},
};

void PrintTo(const ReaderRow& row, std::ostream* os) {
    *os << row.name;
}

class PlanReaderTable : public testing::TestWithParam<ReaderRow> {};

TEST_P(PlanReaderTable, ReadsOrNamesEveryBadLine) {
    const ReaderRow& row = GetParam();
    const PlanReading reading = PlanReader::Read(row.large ? row.large() : row.text);
    std::string told;
    for (const PlanProblem& problem : reading.problems) {
        told += ProblemText(problem) + "\n";
    }
    if (row.problems.empty()) {
        ASSERT_TRUE(reading.plan) << told;
        EXPECT_TRUE(reading.problems.empty());
        return;
    }
    EXPECT_FALSE(reading.plan) << "a bad plan is refused whole";
    if (row.atMost == 0) {
        ASSERT_EQ(reading.problems.size(), row.problems.size()) << told;
    } else {
        ASSERT_GE(reading.problems.size(), row.problems.size());
        ASSERT_LE(reading.problems.size(), row.atMost);
    }
    const size_t skip = reading.problems.size() - row.problems.size();
    for (size_t i = 0; i < row.problems.size(); ++i) {
        const PlanProblem& got = reading.problems[skip + i];
        EXPECT_EQ(got.line, row.problems[i].line) << told.substr(0, 2000);
        EXPECT_NE(got.reason.find(row.problems[i].reason), std::string::npos)
            << told.substr(0, 2000);
    }
}

INSTANTIATE_TEST_SUITE_P(Plans, PlanReaderTable, testing::ValuesIn(kReaderRows),
                         [](const testing::TestParamInfo<ReaderRow>& info) {
                             return std::string(info.param.name);
                         });

TEST(PlanReader, GoodFileGivesEveryFactAndValue) {
    const PlanReading semicolons = PlanReader::Read(kGood);
    const PlanReading commas = PlanReader::Read(WithCommas());
    ASSERT_TRUE(semicolons.plan && commas.plan);
    EXPECT_EQ(*semicolons.plan, *commas.plan);
    const SitePlan& plan = *semicolons.plan;
    EXPECT_EQ(plan.Facts(),
              (SiteFacts{"Station Nord", "Eaux du Val", "Usine 2", "3 rue du Port", 4}));
    ASSERT_EQ(plan.Devices().size(), 3u);
    const PlannedDevice* pump = plan.Find(5);
    ASSERT_NE(pump, nullptr);
    EXPECT_EQ(pump->role, PlanRole::kSensor);
    EXPECT_EQ(pump->label, "Pompe 3");
    EXPECT_EQ(pump->location, "Local pompes");
    EXPECT_EQ(pump->values.ID, 5);
    EXPECT_EQ(pump->values.CHF, 12);
    EXPECT_EQ(pump->values.OFT, 100);
    EXPECT_EQ(pump->values.TYP, "A");
    EXPECT_EQ(plan.Find(240)->values.TYP, "\xE9") << "TYP kept as its Latin-1 byte";
    EXPECT_EQ(plan.Find(240)->values.P0, 7);
    EXPECT_EQ(plan.Find(4), nullptr);
    EXPECT_EQ(plan.Ids(PlanRole::kSensor), (std::vector<int32_t>{5, 240}));
    EXPECT_EQ(plan.NextId(PlanRole::kSensor, 5), 240);
    EXPECT_EQ(plan.NextId(PlanRole::kSensor, 240), 5);
    ASSERT_TRUE(plan.Modem());
    EXPECT_EQ(plan.Modem()->Value(Param::ID), 9);
    EXPECT_EQ(plan.Modem()->ValueOfModemNumber(InfoOf(Param::TYP).modemNumber), 255);
}

struct RoundTripRow {
    const char* name;
    std::string text;
    char separator;
};

const std::vector<RoundTripRow> kRoundTrips = {
    {"semicolons", kGood, ';'},
    {"commas", kGood, ','},
    {"separators_and_quotes_in_the_texts",
     Plan("5;capteur;\"Pompe \"\"A\"\", nord\";\"Local; 2 \";12;100;60;0;\";\"\n"
          "6;capteur;x;y;1;2;3;4;,\n7;capteur;;;1;2;3;4;\"\"\"\"\n"),
     ';'},
    {"commas_with_texts_holding_commas",
     Plan("5;capteur;\"Pompe, nord\";;12;100;60;0;\",\"\n",
          "réseau;\"Nord, bâtiment 2\"\nclient;\"A; B\"\nrépéteurs;0\n"),
     ','},
    {"full_network", Plan([] {
         std::string rows;
         for (int id = 5; id <= 240; ++id) {
             rows += std::to_string(id) + ";capteur;Capteur " + std::to_string(id) +
                     ";Salle;1;2;3;4;" +
                     PlanCsv::Quoted(std::string(1, static_cast<char>('!' + id % 90)), ';') + "\n";
         }
         return rows;
     }()),
     ';'},
};

void PrintTo(const RoundTripRow& row, std::ostream* os) {
    *os << row.name;
}

class PlanRoundTrip : public testing::TestWithParam<RoundTripRow> {};

TEST_P(PlanRoundTrip, WrittenPlanReadsBackTheSame) {
    const PlanReading first = PlanReader::Read(GetParam().text);
    ASSERT_TRUE(first.plan) << (first.problems.empty() ? "" : ProblemText(first.problems[0]));
    const std::string written = PlanText(*first.plan, GetParam().separator);
    const PlanReading again = PlanReader::Read(written);
    ASSERT_TRUE(again.plan) << written << ProblemText(again.problems.at(0));
    EXPECT_EQ(*again.plan, *first.plan) << written;
    EXPECT_EQ(PlanText(*again.plan, GetParam().separator), written);
}

INSTANTIATE_TEST_SUITE_P(Plans, PlanRoundTrip, testing::ValuesIn(kRoundTrips),
                         [](const testing::TestParamInfo<RoundTripRow>& info) {
                             return std::string(info.param.name);
                         });

TEST(PlanStore, KeepsOnePlanPerNetworkUnderASafeName) {
    TempDir data;
    const CPlanStore store(CPlanStore::FolderBeside(data.Path()));
    SitePlan plan = *PlanReader::Read(kGood).plan;
    ASSERT_EQ(store.Save(plan), FILE_OK);
    SitePlan loaded;
    ASSERT_EQ(store.Load("Station Nord", loaded), FILE_OK);
    EXPECT_EQ(loaded, plan);
    EXPECT_EQ(store.Load("Station Sud", loaded), ENOENT);
    EXPECT_EQ(store.PathOf("../x/é"), store.Folder() + "/%2E%2E%2Fx%2F%C3%A9.csv");
    EXPECT_NE(store.PathOf("Station Nord"), store.PathOf("Station_Nord"));
    const std::string longName(300, 'a');
    EXPECT_LT(store.PathOf(longName).size() - store.Folder().size(), 255u);
    EXPECT_NE(store.PathOf(longName), store.PathOf(longName + "b"));
    struct stat info {};
    ASSERT_EQ(::stat(store.Folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
