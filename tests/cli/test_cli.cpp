#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CCliRunner.h"
#include "CFakeClock.h"
#include "CPlanStore.h"
#include "CPortDirectory.h"
#include "CSimProcess.h"
#include "CSystemClock.h"
#include "FileStatus.h"
#include "JournalFormat.h"
#include "PasswordPrompt.h"
#include "PlanReader.h"
#include "PtyPair.h"
#include "TempDir.h"

namespace {

using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

constexpr uint32_t kQuickStep = 1000;      // a device that answers: one attempt is enough
constexpr uint32_t kDeadlineStep = 16000;  // the deadline passes after the first attempt

// Splits one CSV record (quoted fields, doubled quotes) without its line end.
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A PDF's text as pdftotext gives it, its ligatures undone; an HTML file as it is.
std::string ReportText(const std::string& path) {
    if (path.ends_with(".html")) {
        return ReadAll(path);
    }
    std::string text;
    if (FILE* pipe = ::popen(("pdftotext '" + path + "' -").c_str(), "r")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
            text.append(chunk, n);
        }
        ::pclose(pipe);
    }
    for (const auto& [ligature, letters] :
         {std::pair{"ﬁ", "fi"}, std::pair{"ﬂ", "fl"}, std::pair{"ﬀ", "ff"}}) {
        for (size_t at; (at = text.find(ligature)) != std::string::npos;) {
            text.replace(at, std::string_view(ligature).size(), letters);
        }
    }
    return text;
}

// The journal's records (header left out), each checked to be one whole line.
std::vector<std::vector<std::string>> JournalRecords(const std::string& folder) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::string text = ReadAll(folder + "/" + JournalFormat::FileName(now));
    std::vector<std::vector<std::string>> records;
    if (text.empty()) {
        return records;
    }
    EXPECT_EQ(text.back(), '\n') << "half record at the end";
    std::istringstream lines(text);
    std::string line;
    EXPECT_TRUE(std::getline(lines, line) &&
                line ==
                    JournalFormat::HeaderLine().substr(0, JournalFormat::HeaderLine().size() - 1));
    while (std::getline(lines, line)) {
        records.push_back(CsvFields(line));
        EXPECT_EQ(records.back().size(), JournalFormat::FieldCount()) << line;
    }
    return records;
}

enum Journal { kNoRecord, kOneRecord };

struct CliCase {
    const char* name;
    const char* device;  // nullptr: no simulator
    std::vector<std::string> simArgs;
    std::vector<std::string> args;  // "@" stands for the simulator's COM name
    const char* password;           // ZAV7305_PASSWORD; nullptr: unset
    uint32_t step;
    int exitCode;
    const char* printed;  // on stdout, or on stderr when it starts with '!'
    Lines received;       // what the device got; checked for the simulator rows
    Journal journal;
    // Plants what the row needs in the runtime and journal folders before the run.
    std::function<bool(const std::string& runtime, const std::string& journal)> prepare = {};
    const char* absent = nullptr;                  // on neither stdout nor stderr
    std::vector<std::string> networkColumns = {};  // the record's network and repeater count
    // The report the row writes to "@/…/rapport.*" holds these (its text, for a PDF).
    std::vector<std::string> reportHas = {};
    // What the data folder holds after the run (a file kept, no temporary left behind).
    std::function<bool(const std::string& data)> after = {};
    // Instead of the simulator, a device on a virtual port of its own that answers a sent
    // configuration with these bytes; "@" then stands for that port.
    const char* peerReport = nullptr;
    // Standard output holds no byte below 0x20 but the line feed.
    bool controlFree = false;
    // The IDs the report has a row for (those sent); none other has one.
    std::vector<int> rowIds = {};
};

void PrintTo(const CliCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<std::string> kAdminSix = {
    "--admin", "--id", "5", "--chf", "12", "--oft", "100", "--p0", "7", "--prt", "3", "--typ", "A"};

std::vector<std::string> Send(std::vector<std::string> extra) {
    std::vector<std::string> args = {"send", "--port", "@"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

const Lines kAdminFrame = {"u00501207A003100", "u"};

CliCase Differs(const char* field, const char* printed) {
    return {field,
            "repeater",
            {"--report-change", field},
            Send(kAdminSix),
            "2846",
            kQuickStep,
            5,
            printed,
            kAdminFrame,
            kOneRecord};
}

const Lines kClientFrame = {"u005255603000100", "u"};
const std::vector<std::string> kModemP0 = {"modem", "--port", "@", "--param", "P0", "--value", "7"};
const Lines kModemP0Sent = {"p 007", "v"};

bool LinkTo(const std::string& link, const std::string& target) {
    return symlink(target.c_str(), link.c_str()) == 0;
}

// Virtual port links to what is no terminal, beside the simulator's own.
bool PlantNonTerminals(const std::string& runtime, const std::string&) {
    return LinkTo(runtime + "/COM990", runtime + "/../a-file") &&
           std::ofstream(runtime + "/../a-file").good() && LinkTo(runtime + "/COM991", runtime) &&
           LinkTo(runtime + "/COM992", "/dev/null") &&
           mkfifo((runtime + "/../fifo").c_str(), 0600) == 0 &&
           LinkTo(runtime + "/COM993", runtime + "/../fifo");
}

bool PlantDevNullPort(const std::string& runtime, const std::string&) {
    return mkdir(runtime.c_str(), 0700) == 0 && LinkTo(runtime + "/COM990", "/dev/null");
}

// The day's file leads elsewhere: the journal must refuse it.
bool PlantLinkedJournal(const std::string&, const std::string& journal) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return LinkTo(journal + "/" + JournalFormat::FileName(now), journal + "/../elsewhere.csv");
}

ExchangeRecord Sent(int32_t id, int32_t chf, int32_t readChf, bool written = true) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    char frame[32];
    std::snprintf(frame, sizeof frame, "u%03d%03d07A003100", id, chf);
    record.command = frame;
    if (written) {
        record.bytesSent = record.command + "\nu\n";
        record.sentConfig = ParameterSet{id, chf, 7, "A", 3, 100};
    }
    if (readChf >= 0) {
        char report[48];
        std::snprintf(report, sizeof report, "TM010203V14%03d%03d100007003A00\r\n", id, readChf);
        record.report = report;
    }
    return record;
}

// Two technicians' folders of one site: a and b, a day apart, with another site's record,
// a line no journal holds, and the modem's P0 sent without a report.
bool PlantTwoFolders(const std::string&, const std::string& journal) {
    const JournalContext nord{"Client", "Répéteur", "COM3", "Station Nord", 20};
    const JournalContext sud{"Client", "Répéteur", "COM3", "Station Sud", 4};
    const JournalContext sensorPage{"Client", "Capteur", "COM3", "Station Nord", 20};
    ExchangeRecord modem;
    modem.kind = ExchangeKind::SendModemParam;
    modem.command = "p 007";
    modem.bytesSent = "p 007\nv\n";
    const time_t day = 1767258000;  // 2026-01-01, morning
    std::string a = JournalFormat::HeaderLine();
    int second = 0;
    for (const ExchangeRecord& record : {Sent(5, 12, 12), Sent(13, 12, 13), Sent(7, 12, -1),
                                         Sent(8, 12, -1, false), Sent(6, 12, 12), modem}) {
        a += JournalFormat::RecordLine(nord, record, timespec{day + ++second, 0});
    }
    a += JournalFormat::RecordLine(sud, Sent(9, 12, 12), timespec{day + 60, 0}) + "garbage\n";
    const std::string b =
        JournalFormat::HeaderLine() +
        JournalFormat::RecordLine(nord, Sent(6, 14, 14), timespec{day + 86400, 0}) +
        JournalFormat::RecordLine(sensorPage, Sent(30, 12, 12), timespec{day + 86401, 0});
    return ::mkdir((journal + "/a").c_str(), 0700) == 0 &&
           ::mkdir((journal + "/b").c_str(), 0700) == 0 &&
           static_cast<bool>(std::ofstream(journal + "/a/2026-01-01.csv") << a) &&
           static_cast<bool>(std::ofstream(journal + "/b/2026-01-02.csv") << b);
}

// A plan of Station Nord for its two folders: what was planned for IDs 5, 13 and 30.
const char kNordPlan[] =
    "réseau;Station Nord\nclient;Eaux du Val\nsite;Usine\nadresse;1 rue Haute\nrépéteurs;20\n"
    "id;rôle;désignation;emplacement;CHF;OFT;P0;PRT;TYP\n"
    "5;répéteur;Relais 5;Toit;12;100;7;3;A\n13;répéteur;Relais 13;Cave;12;100;7;3;A\n"
    "30;capteur;Pompe 3;Local;12;100;7;3;A\n";
// Bad at lines 4 and 5, four reasons in all.
const char kBadPlan[] =
    "réseau;X\nrépéteurs;2\nid;rôle;désignation;emplacement;CHF;OFT;P0;PRT;TYP\n"
    "3;répéteur;;;1;1;1;1;A\n1;capteur;;;300;1;1;1;AB\n";

bool PlantPlanFiles(const std::string&, const std::string& journal) {
    return static_cast<bool>(std::ofstream(journal + "/nord.csv") << kNordPlan) &&
           static_cast<bool>(std::ofstream(journal + "/bad.csv") << kBadPlan);
}

bool NoPlanKept(const std::string& data) {
    struct stat info {};
    return ::stat(CPlanStore::FolderBeside(data).c_str(), &info) != 0;
}

bool NordPlanKept(const std::string& data) {
    SitePlan plan;
    return CPlanStore(CPlanStore::FolderBeside(data)).Load("Station Nord", plan) == FILE_OK &&
           plan == *PlanReader::Read(kNordPlan).plan;
}

// The two folders, and the plan of Station Nord kept as an import keeps it.
bool PlantTwoFoldersAndTheirPlan(const std::string& runtime, const std::string& journal) {
    return PlantTwoFolders(runtime, journal) &&
           CPlanStore(CPlanStore::FolderBeside(journal)).Save(*PlanReader::Read(kNordPlan).plan) ==
               FILE_OK;
}

// The plan of Station Nord against which its two folders are judged: 5 and 30 as planned,
// 6 sent other values than planned, 7 silent, 13 read back different, 40 never done; 8 and
// the modem's P0 are outside it.
const std::string kNordWiderPlan = std::string(kNordPlan) +
                                   "6;répéteur;Relais 6;Grenier;12;100;7;3;A\n"
                                   "7;répéteur;Relais 7;Puits;12;100;7;3;A\n"
                                   "40;capteur;Vanne 9;Regard;12;100;7;3;A\n";

// The two folders, the stored plan of Station Nord, and beside them the wider plan, the bad
// one and a plan of another network.
bool PlantTwoFoldersAndPlans(const std::string& runtime, const std::string& journal) {
    return PlantTwoFoldersAndTheirPlan(runtime, journal) && PlantPlanFiles(runtime, journal) &&
           static_cast<bool>(std::ofstream(journal + "/plan.csv") << kNordWiderPlan);
}

bool NoReportWritten(const std::string& data) {
    struct stat info {};
    return ::stat((data + "/a/rapport.html").c_str(), &info) != 0;
}

// The network as it stands: labels and facts from its plan, values as read back (ID 13
// answered CHF 13, ID 6 was sent again with CHF 14), silent and failed IDs left out.
bool AsBuiltNord(const std::string& data) {
    const PlanReading reading = PlanReader::Read(ReadAll(data + "/tel-que-construit.csv"));
    if (!reading.plan) {
        return false;
    }
    const SitePlan& plan = *reading.plan;
    std::vector<int32_t> ids;
    for (const PlannedDevice& device : plan.Devices()) {
        ids.push_back(device.id);
    }
    return plan.Facts().client == "Eaux du Val" && plan.Facts().repeaterCount == 20 &&
           ids == std::vector<int32_t>{5, 6, 13, 30} && plan.Find(13)->values.CHF == 13 &&
           plan.Find(13)->label == "Relais 13" && plan.Find(6)->values.CHF == 14 &&
           plan.Find(6)->label.empty() && plan.Find(30)->role == PlanRole::kSensor && !plan.Modem();
}

bool EarlierExportKept(const std::string& data) {
    return ReadAll(data + "/tel-que-construit.csv") == "ancien";
}

std::vector<std::string> PlanExport(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {
        "plan", "export",    "--network", "Station Nord", "--journal",
        "@/a",  "--journal", "@/b",       "--out",        "@/tel-que-construit.csv"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

const std::vector<std::string> kReportArgs = {"report", "--network", "Station Nord", "--journal",
                                              "@/a",    "--journal", "@/b",          "--out"};

std::vector<std::string> Report(const char* out) {
    std::vector<std::string> args = kReportArgs;
    args.push_back(out);
    return args;
}

// Beside the two folders, a day file of a that is a link elsewhere.
bool PlantTwoFoldersAndALink(const std::string& runtime, const std::string& journal) {
    return PlantTwoFolders(runtime, journal) &&
           static_cast<bool>(std::ofstream(journal + "/elsewhere.csv") << "x\n") &&
           LinkTo(journal + "/a/2026-01-03.csv", journal + "/elsewhere.csv");
}

std::vector<std::string> Report(const char* out, const char* extra) {
    std::vector<std::string> args = Report(out);
    args.push_back(extra);
    return args;
}

std::vector<std::string> ReportWithPlan(const char* plan, const char* network = "Station Nord") {
    std::vector<std::string> args = Report("@/a/rapport.html");
    args[2] = network;
    args.insert(args.end(), {"--plan", plan});
    return args;
}

// The two folders and, at "a/rapport.html", a report of an earlier run.
bool PlantEarlierReport(const std::string& runtime, const std::string& journal) {
    return PlantTwoFolders(runtime, journal) &&
           static_cast<bool>(std::ofstream(journal + "/a/rapport.html") << "ancien rapport");
}

bool EarlierReportKept(const std::string& data) {
    return ReadAll(data + "/a/rapport.html") == "ancien rapport";
}

// The report's name leads to the journal's own day file.
bool PlantLinkToDayFile(const std::string& runtime, const std::string& journal) {
    return PlantTwoFolders(runtime, journal) &&
           LinkTo(journal + "/a/rapport.html", journal + "/a/2026-01-01.csv");
}

bool PlantHardLinkToDayFile(const std::string& runtime, const std::string& journal) {
    return PlantTwoFolders(runtime, journal) && ::link((journal + "/a/2026-01-01.csv").c_str(),
                                                       (journal + "/a/rapport.html").c_str()) == 0;
}

bool DayFileKept(const std::string& data) {
    return ReadAll(data + "/a/2026-01-01.csv").rfind(JournalFormat::HeaderLine(), 0) == 0;
}

// Only the day file in folder a: neither a torn report nor its temporary file.
bool NothingButTheDayFile(const std::string& data) {
    size_t names = 0;
    if (DIR* dir = ::opendir((data + "/a").c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            names += entry->d_name[0] != '.' || std::string(entry->d_name).size() > 2;
        }
        ::closedir(dir);
    }
    return names == 1 && DayFileKept(data);
}

// `ulimit -f` of 16 KB for the run, lifted again by the fixture.
bool PlantSmallFileSizeLimit(const std::string& runtime, const std::string& journal) {
    rlimit limit{};
    if (!PlantTwoFolders(runtime, journal) || ::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return false;
    }
    limit.rlim_cur = 16 * 1024;
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

void SetZone(const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
}

void Write(const std::string& path, const std::string& text, bool& ok) {
    ok = ok && static_cast<bool>(std::ofstream(path) << text);
}

// ID 5 verified, then silent at its latest send; both written two hours east of the reader.
bool PlantVerifiedThenSilentEast(const std::string&, const std::string& journal) {
    const JournalContext nord{"Client", "Répéteur", "COM3", "Station Nord", 20};
    const time_t day = 1767258000;  // 2026-01-01 09:00 UTC
    SetZone("UTC-2");
    bool ok = ::mkdir((journal + "/a").c_str(), 0700) == 0 &&
              ::mkdir((journal + "/b").c_str(), 0700) == 0;
    Write(journal + "/a/2026-01-01.csv",
          JournalFormat::HeaderLine() +
              JournalFormat::RecordLine(nord, Sent(5, 12, 12), timespec{day + 1, 0}) +
              JournalFormat::RecordLine(nord, Sent(5, 12, -1), timespec{day + 2, 0}),
          ok);
    SetZone("UTC0");
    return ok;
}

// A name that bidi overrides would show backwards, and controls for the PDF's title.
const char kHostileNetwork[] = "Nord\u202eTXT.exe\u202c\x1b[31m\x07\r\nX";

bool PlantHostileNetwork(const std::string&, const std::string& journal) {
    const JournalContext hostile{"Client", "Répéteur", "COM3", kHostileNetwork, 20};
    ExchangeRecord record = Sent(5, 12, 12);
    record.message = "Reçu \u2067à l'envers\u2069 \u200f";
    bool ok = ::mkdir((journal + "/a").c_str(), 0700) == 0;
    Write(journal + "/a/2026-01-01.csv",
          JournalFormat::HeaderLine() +
              JournalFormat::RecordLine(hostile, record, timespec{1767258001, 0}),
          ok);
    return ok;
}

std::string PdfTitle(const std::string& path) {
    std::string text;
    if (FILE* pipe = ::popen(("pdfinfo '" + path + "'").c_str(), "r")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
            text.append(chunk, n);
        }
        ::pclose(pipe);
    }
    const size_t at = text.find("Title:");
    return at == std::string::npos ? "" : text.substr(at, text.find("\nAuthor") - at);
}

bool CleanPdfTitle(const std::string& data) {
    const std::string title = PdfTitle(data + "/a/rapport.pdf");
    return title.find("NordTXT.exe[31m  X") != std::string::npos &&
           title.find_first_of("\x1b\x07\r") == std::string::npos &&
           title.find("\u202e") == std::string::npos;
}

// One message of 200 KB: the PDF shows its start, says the rest is in the journal.
bool PlantLongMessage(const std::string&, const std::string& journal) {
    const JournalContext nord{"Client", "Répéteur", "COM3", "Station Nord", 20};
    ExchangeRecord record = Sent(5, 12, 12);
    for (int i = 0; record.message.size() < 200 * 1024; ++i) {
        record.message += i % 7 == 0 ? "configuration " : "mot ";
    }
    bool ok = ::mkdir((journal + "/a").c_str(), 0700) == 0;
    Write(journal + "/a/2026-01-01.csv",
          JournalFormat::HeaderLine() +
              JournalFormat::RecordLine(nord, record, timespec{1767258001, 0}),
          ok);
    return ok;
}

// The IDs PlantTwoFolders sends in Station Nord.
const std::vector<int> kNordIds = {5, 6, 7, 8, 13, 30};

// Day files of folder a, each record a second after the one before from 09:00 UTC; the
// reader's zone is UTC.
bool PlantDay(const std::string& journal, const std::vector<ExchangeRecord>& records) {
    const JournalContext nord{"Client", "Répéteur", "COM3", "Station Nord", 20};
    SetZone("UTC0");
    std::string day = JournalFormat::HeaderLine();
    time_t second = 1767258000;
    for (const ExchangeRecord& record : records) {
        day += JournalFormat::RecordLine(nord, record, timespec{++second, 0});
    }
    bool ok = ::mkdir((journal + "/a").c_str(), 0700) == 0;
    Write(journal + "/a/2026-01-01.csv", day, ok);
    return ok;
}

bool PlantGoodWork(const std::string&, const std::string& journal) {
    return PlantDay(journal, {Sent(5, 12, 12), Sent(6, 12, 12), Sent(7, 12, 12)});
}

// 5 silent, 6 failed on its port then read back different: both redone and verified.
bool PlantRedoneWork(const std::string&, const std::string& journal) {
    return PlantDay(journal, {Sent(5, 12, -1), Sent(6, 12, -1, false), Sent(6, 12, 13),
                              Sent(5, 12, 12), Sent(6, 12, 12), Sent(7, 12, 12)});
}

// Forty rows, each many lines tall, marked at their start and their end.
bool PlantTallRows(const std::string&, const std::string& journal) {
    std::vector<ExchangeRecord> records;
    for (int id = 1; id <= 40; ++id) {
        ExchangeRecord record = Sent(id, 12, 12);
        char mark[16];
        std::snprintf(mark, sizeof mark, "%03d", id);
        record.message = std::string("DEBUT") + mark;
        for (int word = 0; word < 8 + id % 5 * 6; ++word) {
            record.message += " configuration";
        }
        record.message += std::string(" FIN") + mark;
        records.push_back(record);
    }
    return PlantDay(journal, records);
}

std::string Piped(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
            text.append(chunk, n);
        }
        ::pclose(pipe);
    }
    return text;
}

int PdfPages(const std::string& path) {
    const std::string info = Piped("pdfinfo '" + path + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

bool OneOrTwoPages(const std::string& data) {
    const int pages = PdfPages(data + "/a/rapport.pdf");
    return pages == 1 || pages == 2;
}

// Each row's first and last words on the same page, and more than one page in all.
bool EveryRowOnOnePage(const std::string& data) {
    const std::string path = data + "/a/rapport.pdf";
    const int pages = PdfPages(path);
    std::vector<int> starts(41, 0), ends(41, 0);
    for (int page = 1; page <= pages; ++page) {
        const std::string text = Piped("pdftotext -f " + std::to_string(page) + " -l " +
                                       std::to_string(page) + " '" + path + "' -");
        for (int id = 1; id <= 40; ++id) {
            char mark[16];
            std::snprintf(mark, sizeof mark, "%03d", id);
            starts[id] =
                text.find(std::string("DEBUT") + mark) != std::string::npos ? page : starts[id];
            ends[id] = text.find(std::string("FIN") + mark) != std::string::npos ? page : ends[id];
        }
    }
    bool whole = pages > 2;
    for (int id = 1; id <= 40; ++id) {
        EXPECT_TRUE(starts[id] > 0 && starts[id] == ends[id])
            << "ID " << id << " from page " << starts[id] << " to page " << ends[id];
        whole = whole && starts[id] > 0 && starts[id] == ends[id];
    }
    return whole;
}

// The signature boxes after the incident history, the provenance after them, at the end.
bool ProvenanceLast(const std::string& data) {
    const std::string text = ReportText(data + "/a/rapport.pdf");
    const size_t incidents = text.find("Historique des incidents");
    const size_t signatures = text.find("Signatures");
    const size_t provenance = text.find("Provenance");
    const size_t version = text.find("Version de l'outil : 1.4.0.0");
    const size_t machine = text.find("Machine : ");
    const size_t folders = text.find("Dossiers du journal lus : ");
    return incidents != std::string::npos && incidents < signatures && signatures < provenance &&
           provenance < version && version != std::string::npos && provenance < machine &&
           machine != std::string::npos && provenance < folders && folders != std::string::npos;
}

const std::vector<std::string> kSendToDevNull = {"send", "--port", "COM990", "--id", "5"};

// clang-format off
const CliCase kCases[] = {
    {"client_send_takes_the_dialog_values", "repeater", {}, Send({"--id", "5"}), nullptr,
     kQuickStep, 0, "Verdict : Configuration vérifiée\n", kClientFrame, kOneRecord},
    {"admin_sends_all_six", "repeater", {}, Send(kAdminSix), "2846", kQuickStep, 0,
     "ID = 005\nCHF= 012\nOFT= 100\nP0 = 007\nPRT= 003\nTYP= A00\nVerdict : Configuration vérifiée",
     kAdminFrame, kOneRecord},
    Differs("id", "Verdict : ID envoyé 005, lu 006\n"),
    Differs("chf", "Verdict : CHF envoyé 012, lu 013\n"),
    Differs("oft", "Verdict : OFT envoyé 100, lu 101\n"),
    Differs("p0", "Verdict : P0 envoyé 007, lu 008\n"),
    Differs("prt", "Verdict : PRT envoyé 003, lu 004\n"),
    Differs("typ", "Verdict : TYP envoyé A, lu B\n"),
    {"json_send", "sensor", {}, Send({"--id", "9", "--json"}), nullptr, kQuickStep, 0,
     "\"verdict\":\"Configuration vérifiée\",\"messages\":[],\"exit\":0}",
     {"u009255603000100", "u"}, kOneRecord},
    {"read_alone_has_no_verdict", "sensor", {}, {"read", "--port", "@"}, nullptr, kQuickStep, 0,
     "LC7305rx\n01/02/03\nVER= V14\nID = 000\nCHF= 255\nOFT= 100\nP0 = 060\nPRT= 000\nTYP= 300\n",
     {"u"}, kOneRecord},
    {"silent_device", "repeater", {"--silent"}, Send({"--id", "5"}), nullptr, kDeadlineStep, 4,
     "!Echec de lecture de la configuration.", kClientFrame, kOneRecord},
    {"hang_up_mid_reply", "repeater", {"--hangup-mid"}, Send({"--id", "5"}), nullptr, kQuickStep,
     4, "Verdict : CHF envoyé 255, lu 2", kClientFrame, kOneRecord},
    {"modem_client_p0", "modem", {}, kModemP0, nullptr, kQuickStep, 0,
     "Verdict : Configuration vérifiée", kModemP0Sent, kOneRecord},
    {"modem_admin_type", "modem", {}, {"modem", "--port", "@", "--admin", "--param", "type",
     "--value", "255"}, "2846", kQuickStep, 0, "TYP= 255\n", {"t 255", "v"}, kOneRecord},
    {"modem_compares_only_the_parameter_sent", "modem", {"--report-change", "chf"}, kModemP0,
     nullptr, kQuickStep, 0, "Verdict : Configuration vérifiée", kModemP0Sent, kOneRecord},
    {"modem_differs", "modem", {"--report-change", "p0"}, kModemP0, nullptr, kQuickStep, 5,
     "Verdict : P0 envoyé 007, lu 008", kModemP0Sent, kOneRecord},
    {"silent_modem", "modem", {"--silent"}, kModemP0, nullptr, kDeadlineStep, 4,
     "!Configuration non reçue!", kModemP0Sent, kOneRecord},
    {"port_by_number_that_nobody_announced", nullptr, {}, {"send", "--port", "998"}, nullptr,
     kQuickStep, 3, "!le port COM998 n'existe pas.", {}, kNoRecord},
    {"port_in_lower_case", nullptr, {}, {"send", "--port", "com998"}, nullptr, kQuickStep, 3,
     "!le port COM998 n'existe pas.", {}, kNoRecord},
    {"port_name_with_leading_zeros", nullptr, {}, {"send", "--port", "COM0998"}, nullptr,
     kQuickStep, 3, "!le port COM998 n'existe pas.", {}, kNoRecord},
    {"port_number_with_leading_zeros", nullptr, {}, {"send", "--port", "00998"}, nullptr,
     kQuickStep, 3, "!le port COM998 n'existe pas.", {}, kNoRecord},
    {"port_zero", nullptr, {}, {"send", "--port", "COM000"}, nullptr, kQuickStep, 2,
     "!--port : un nom COM<n> ou un numéro, pas COM000.", {}, kNoRecord},
    {"port_prefix_alone", nullptr, {}, {"send", "--port", "COM"}, nullptr, kQuickStep, 2,
     "!pas COM.", {}, kNoRecord},
    {"port_in_mixed_case", nullptr, {}, {"send", "--port", "Com998"}, nullptr, kQuickStep, 2,
     "!pas Com998.", {}, kNoRecord},
    {"port_empty", nullptr, {}, {"send", "--port="}, nullptr, kQuickStep, 2, "!pas .", {},
     kNoRecord},
    {"port_beyond_int32", nullptr, {}, {"send", "--port", "COM2147483648"}, nullptr, kQuickStep,
     2, "!pas COM2147483648.", {}, kNoRecord},
    // Refused before the port is opened: the device sees nothing.
    {"client_gives_a_locked_value", "repeater", {}, Send({"--id", "5", "--chf", "12"}), nullptr,
     kQuickStep, 2, "!--chf : en client", {}, kNoRecord},
    {"id_out_of_range", "repeater", {}, Send({"--id", "256"}), nullptr, kQuickStep, 2,
     "!--id : Tapez un nombre entier compris entre 0 et 255.", {}, kNoRecord},
    {"negative_value", "repeater", {}, Send({"--admin", "--prt=-1"}), "2846", kQuickStep, 2,
     "!--prt : Tapez un nombre entier compris entre 0 et 255.", {}, kNoRecord},
    {"not_a_number", "repeater", {}, Send({"--id", "5x"}), nullptr, kQuickStep, 2,
     "!--id : Tapez un nombre entier.", {}, kNoRecord},
    {"typ_of_two_characters", "repeater", {}, Send({"--admin", "--typ", "AB"}), "2846",
     kQuickStep, 2, "!--typ : un seul caractère", {}, kNoRecord},
    {"wrong_password", "repeater", {}, Send(kAdminSix), "1234", kQuickStep, 2,
     "!Mot de passe incorrect.", {}, kNoRecord},
    {"modem_client_other_than_p0", "modem", {}, {"modem", "--port", "@", "--param", "CHF",
     "--value", "7"}, nullptr, kQuickStep, 2, "!--param : en client", {}, kNoRecord},
    {"modem_type_neither_0_nor_255", "modem", {}, {"modem", "--port", "@", "--admin", "--param",
     "TYP", "--value", "7"}, "2846", kQuickStep, 2,
     "!Le type d'un modem doit être égal à 0 ou 255.", {}, kNoRecord},
    {"read_takes_no_values", "repeater", {}, {"read", "--port", "@", "--id", "5"}, nullptr,
     kQuickStep, 2, "!option --id inconnue", {}, kNoRecord},
    {"send_without_port", nullptr, {}, {"send", "--id", "5"}, nullptr, kQuickStep, 2,
     "!--port est attendu", {}, kNoRecord},
    {"unknown_command", nullptr, {}, {"program"}, nullptr, kQuickStep, 2,
     "!commande inconnue : program", {}, kNoRecord},
    {"version", nullptr, {}, {"--version"}, nullptr, kQuickStep, 0, "zav7305-cli 1.4.0.0\n", {},
     kNoRecord},
    {"help", nullptr, {}, {"send", "--help"}, nullptr, kQuickStep, 0, "Codes de sortie", {},
     kNoRecord},
    {"typ_carriage_return", "repeater", {}, Send({"--admin", "--typ", "\r"}), "2846", kQuickStep,
     2, "!--typ : Le TYP doit être un caractère imprimable.", {}, kNoRecord},
    {"typ_escape", "repeater", {}, Send({"--admin", "--typ", "\x1b"}), "2846", kQuickStep, 2,
     "!--typ : Le TYP doit être un caractère imprimable.", {}, kNoRecord},
    {"typ_start_of_heading", "repeater", {}, Send({"--admin", "--typ", "\x01"}), "2846",
     kQuickStep, 2, "!--typ : Le TYP doit être un caractère imprimable.", {}, kNoRecord},
    {"typ_next_line", "repeater", {}, Send({"--admin", "--typ", "\xc2\x85"}), "2846", kQuickStep,
     2, "!--typ : Le TYP doit être un caractère imprimable.", {}, kNoRecord},
    {"number_beyond_64_bits", "repeater", {}, Send({"--id", "99999999999999999999"}), nullptr,
     kQuickStep, 2, "!--id : Tapez un nombre entier compris entre 0 et 255.", {}, kNoRecord},
    {"negative_beyond_64_bits", "modem", {}, {"modem", "--port", "@", "--admin", "--param", "TYP",
     "--value", "-99999999999999999999"}, "2846", kQuickStep, 2,
     "!Le type d'un modem doit être égal à 0 ou 255.", {}, kNoRecord},
    {"option_given_twice", "repeater", {}, Send({"--id", "5", "--id=6"}), nullptr, kQuickStep, 2,
     "!option --id donnée deux fois.", {}, kNoRecord},
    {"flag_given_twice", "repeater", {}, Send({"--json", "--id", "5", "--json"}), nullptr,
     kQuickStep, 2, "!option --json donnée deux fois.", {}, kNoRecord},
    {"device_bytes_cannot_drive_the_terminal", "repeater", {"--terminal-codes"},
     {"read", "--port", "@"}, nullptr, kQuickStep, 0, "ID = \\x07\\x1B[\n", {"u"}, kOneRecord, nullptr,
     "\x1b"},
    {"verdict_cannot_drive_the_terminal", nullptr, {}, Send({"--id", "5"}), nullptr, kQuickStep,
     5, "Verdict : CHF envoyé 255, lu \\x1B]0; OFT envoyé 100, lu ;X\\x07; P0 envoyé 060, lu "
     "\\x1B[2; PRT envoyé 000, lu J03;", kClientFrame,
     kOneRecord, {}, nullptr, {}, {}, {}, "TM010203V14005\x1b]0;X\x07\x1b[2J03A00\n", true},
    {"ports_lists_terminals_only", "repeater", {}, {"ports"}, nullptr, kQuickStep, 0,
     ": port virtuel)", {}, kNoRecord, PlantNonTerminals, "COM99"},
    {"port_failure_tells_its_cause", nullptr, {}, kSendToDevNull, nullptr, kQuickStep, 3,
     "!Ce périphérique n'est pas un port série. Choisissez un autre port.\n"
     "zav7305-cli : erreur système : ", {}, kOneRecord, PlantDevNullPort},
    {"json_port_failure_tells_its_cause", nullptr, {}, {"send", "--port", "COM990", "--json"},
     nullptr, kQuickStep, 3, "\"cause\":\"Ce périphérique n'est pas un port série. Choisissez "
     "un autre port.\",\"systemError\":\"", {}, kOneRecord, PlantDevNullPort},
    {"confirmed_but_not_journaled", "repeater", {}, Send({"--id", "5"}), nullptr, kQuickStep, 6,
     "!le fichier du jour est un lien symbolique)", kClientFrame, kNoRecord, PlantLinkedJournal},
    {"json_confirmed_but_not_journaled", "repeater", {}, Send({"--id", "5", "--json"}), nullptr,
     kQuickStep, 6, "\"journal\":{\"written\":false,\"folder\":\"/tmp/zav-link-test-",
     kClientFrame, kNoRecord, PlantLinkedJournal},
    {"json_journal_written", "repeater", {}, Send({"--id", "5", "--json"}), nullptr, kQuickStep,
     0, "\"journal\":{\"written\":true,\"folder\":\"/tmp/zav-link-test-", kClientFrame,
     kOneRecord},
    {"send_journals_into_a_network", "repeater", {}, Send({"--id", "5", "--network",
     "Station Nord", "--repeaters", "20"}), nullptr, kQuickStep, 0, "Verdict : Configuration "
     "vérifiée\n", kClientFrame, kOneRecord, {}, nullptr, {"Station Nord", "20"}},
    {"repeaters_in_their_range", "repeater", {}, Send({"--network", "N", "--repeaters", "241"}),
     nullptr, kQuickStep, 2, "!--repeaters : Tapez un nombre entier compris entre 0 et 240.", {},
     kNoRecord},
    {"report_of_an_unknown_network", nullptr, {}, {"report", "--network", "Station Ouest",
     "--out", "@/r.pdf"}, nullptr, kQuickStep, 2, "!Le réseau « Station Ouest » n'a aucun échange "
     "dans le journal.", {}, kNoRecord},
    {"report_pdf_merges_folders", nullptr, {}, Report("@/a/rapport.pdf"), nullptr, kQuickStep, 0,
     "Lignes ignorées : 1\n", {}, kNoRecord, PlantTwoFolders, nullptr, {},
     {"Rapport de mise en service", "Réseau : Station Nord", "Premier échange : 01/01/2026",
      "Dernier échange : 02/01/2026", "Rôles : Client", "Version de l'outil : 1.4.0.0",
      "Répéteurs 2/20 vérifiés, 3 à reprendre · Capteurs 1/220 vérifiés",
      "IDs jamais vérifiés : 7, 8, 13",
      "IDs programmés plusieurs fois avec des valeurs différentes : 6",
      "Appareils silencieux : 7", "Échecs de port : 8", "Paramètres du modem non confirmés : P0",
      "≠ CHF envoyé\n012, lu 013", "Page 2 / ", "Modem P0"}, {}, nullptr, false, kNordIds},
    {"report_html_has_a_row_per_id", nullptr, {}, Report("@/a/rapport.html"), nullptr,
     kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord, PlantTwoFolders, nullptr, {},
     {"<tr><td>13</td><td>≠ CHF envoyé 012, lu 013</td><td>01/01/2026 ",
      "<tr><td>6</td><td>✓ vérifiée</td><td>02/01/2026 ", "<img src=\"data:image/png;base64,",
      "<tr><td>30</td><td>✓ vérifiée</td>", "Paramètres du modem non confirmés : P0"}, {},
     nullptr, false, kNordIds},
    {"report_counts_a_folder_once", nullptr, {}, {"report", "--network", "Station Nord",
     "--journal", "@/a", "--journal", "@/a/.", "--journal", "@/b", "--journal", "@/b/../a",
     "--out", "@/r.html"}, nullptr, kQuickStep, 0, "(8 échanges)", {}, kNoRecord, PlantTwoFolders},
    {"report_names_what_it_could_not_read", nullptr, {}, {"report", "--network", "Station Nord",
     "--journal", "@/a", "--journal", "@/b", "--journal", "@/missing", "--out",
     "@/a/rapport.html"}, nullptr, kQuickStep, 0, "a/2026-01-03.csv", {}, kNoRecord,
     PlantTwoFoldersAndALink, nullptr, {}, {"Dossiers du journal illisibles : /tmp/",
     "/missing", "Fichiers du journal illisibles : /tmp/", "/a/2026-01-03.csv"}, {}, nullptr,
     false, kNordIds},
    {"report_lists_what_its_latest_exchange_left_unverified", nullptr, {},
     Report("@/a/rapport.html"), nullptr, kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord,
     PlantTwoFolders, nullptr, {}, {"IDs non vérifiés à leur dernier échange : 7, 8, 13"}, {},
     nullptr, false, kNordIds},
    {"report_judges_every_device_against_the_plan_given", nullptr, {},
     ReportWithPlan("@/plan.csv"), nullptr, kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord,
     PlantTwoFoldersAndPlans, "Plan du réseau : ", {},
     {"Client : Eaux du Val", "Site : Usine", "Adresse : 1 rue Haute",
      "Verdict d'ensemble : Non conforme", "Non conformes : 6, 7, 8, 13, 40, Modem P0",
      "Répéteurs 1/4 conformes · Capteurs 1/2 conformes<br>Modem 0/6 paramètres vérifiés, 1 à "
      "reprendre, 5 non envoyés<br>Appareils hors plan : 1<br>Appareils du plan jamais faits : 1",
      "<tr><td>5</td><td>Relais 5</td><td>Toit</td><td>ID 005 CHF 012 OFT 100 P0 07 PRT 003 "
      "TYP A</td><td>ID 005 CHF 012 OFT 100 P0 007 PRT 003 TYP A00</td><td>conforme au plan</td>",
      "<td>différente du plan : CHF prévu 012, lu 014</td><td>02/01/2026 ",
      "<td>Relais 7</td><td>Puits</td>", "<td>envoyée, sans réponse</td>",
      "<td>valeurs lues différentes de l'envoi : CHF envoyé 012, lu 013</td>",
      "<td>Pompe 3</td><td>Local</td>",
      "<td>Vanne 9</td><td>Regard</td><td>ID 040 CHF 012 OFT 100 P0 07 PRT 003 TYP A</td>"
      "<td>—</td><td>à faire</td><td>—</td>",
      "<h2>Appareils hors plan</h2>", "<tr><td>8</td><td>✗ échec du port</td>",
      "<tr><td>Modem P0</td>",
      "<h2>Appareils du plan jamais faits</h2><table width=\"100%\" cellspacing=\"0\"><thead>"},
     {}, nullptr, false, {5, 6, 7, 8, 13, 30, 40}},
    {"report_takes_the_stored_plan_of_its_network", nullptr, {}, Report("@/a/rapport.html"),
     nullptr, kQuickStep, 0, "Plan du réseau : /tmp/", {}, kNoRecord, PlantTwoFoldersAndPlans,
     nullptr, {},
     {"Client : Eaux du Val", "Répéteurs 1/2 conformes · Capteurs 1/1 conformes",
      "Appareils hors plan : 3<br>Appareils du plan jamais faits : 0",
      "<h2>Appareils du plan jamais faits</h2><p>Aucun.</p>", "Verdict d'ensemble : Non conforme"},
     {}, nullptr, false, kNordIds},
    {"report_without_a_plan_is_judged_as_sent", nullptr, {}, Report("@/a/rapport.html"), nullptr,
     kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord, PlantTwoFolders, "Plan du réseau", {},
     {"Client : non renseigné", "<h2>Détail par ID</h2>", "Répéteurs 2/20 vérifiés"}, {},
     nullptr, false, kNordIds},
    {"report_refuses_a_bad_plan", nullptr, {}, ReportWithPlan("@/bad.csv"), nullptr, kQuickStep,
     2, "!bad.csv : ligne 4 : ", {}, kNoRecord, PlantTwoFoldersAndPlans, "Rapport écrit", {}, {},
     NoReportWritten},
    {"report_refuses_a_bad_plan_whole", nullptr, {}, ReportWithPlan("@/bad.csv"), nullptr,
     kQuickStep, 2, "!plan refusé (4 problèmes) : rien n'en est gardé.", {}, kNoRecord,
     PlantTwoFoldersAndPlans, nullptr, {}, {}, NoReportWritten},
    {"report_refuses_a_missing_plan", nullptr, {}, ReportWithPlan("@/nowhere.csv"), nullptr,
     kQuickStep, 2, "!nowhere.csv : fichier introuvable", {}, kNoRecord, PlantTwoFolders,
     nullptr, {}, {}, NoReportWritten},
    {"report_refuses_the_plan_of_another_network", nullptr, {},
     ReportWithPlan("@/nord.csv", "Station Sud"), nullptr, kQuickStep, 2,
     "!nord.csv : ce plan est celui du réseau Station Nord, pas de Station Sud.", {}, kNoRecord,
     PlantTwoFoldersAndPlans, nullptr, {}, {}, NoReportWritten},
    {"report_refuses_a_bare_extension", nullptr, {}, Report("@/a/.pdf"), nullptr, kQuickStep, 2,
     "!Le rapport doit avoir un nom avant son extension : ", {}, kNoRecord, PlantTwoFolders,
     nullptr, {}, {}, NothingButTheDayFile},
    {"report_keeps_an_earlier_report", nullptr, {}, Report("@/a/rapport.html"), nullptr,
     kQuickStep, 3, "!le fichier existe déjà. Ajoutez --replace pour le remplacer.", {},
     kNoRecord, PlantEarlierReport, nullptr, {}, {}, EarlierReportKept},
    {"report_replaces_an_earlier_report_when_told", nullptr, {},
     Report("@/a/rapport.html", "--replace"), nullptr, kQuickStep, 0, "Rapport écrit : ", {},
     kNoRecord, PlantEarlierReport, nullptr, {}, {}, [](const std::string& data) {
         return ReadAll(data + "/a/rapport.html").find("Station Nord") != std::string::npos; }},
    {"report_never_writes_through_a_symbolic_link", nullptr, {},
     Report("@/a/rapport.html", "--replace"), nullptr, kQuickStep, 3,
     "!le fichier est un lien symbolique.", {}, kNoRecord, PlantLinkToDayFile, nullptr, {}, {},
     DayFileKept},
    {"report_never_writes_through_a_hard_link", nullptr, {},
     Report("@/a/rapport.html", "--replace"), nullptr, kQuickStep, 3,
     "!le fichier porte un autre nom ailleurs (lien physique).", {}, kNoRecord,
     PlantHardLinkToDayFile, nullptr, {}, {}, DayFileKept},
    {"report_pdf_past_the_file_size_limit", nullptr, {}, Report("@/a/rapport.pdf"), nullptr,
     kQuickStep, 3, "!taille de fichier permise dépassée.", {}, kNoRecord,
     PlantSmallFileSizeLimit, "Rapport écrit", {}, {}, NothingButTheDayFile},
    {"report_html_past_the_file_size_limit", nullptr, {}, Report("@/a/rapport.html"), nullptr,
     kQuickStep, 3, "!taille de fichier permise dépassée.", {}, kNoRecord,
     PlantSmallFileSizeLimit, "Rapport écrit", {}, {}, NothingButTheDayFile},
    {"report_never_verified_means_never", nullptr, {}, Report("@/a/rapport.html"), nullptr,
     kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord, PlantVerifiedThenSilentEast, nullptr, {},
     {"IDs jamais vérifiés : aucun", "IDs non vérifiés à leur dernier échange : 5"}, {}, nullptr,
     false, {5}},
    {"report_shows_times_in_the_readers_zone", nullptr, {}, Report("@/a/rapport.html"), nullptr,
     kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord, PlantVerifiedThenSilentEast, nullptr, {},
     {"Premier échange : 01/01/2026 09:00:01 +00:00",
      "Dernier échange : 01/01/2026 09:00:02 +00:00",
      "<tr><td>5</td><td>? envoyée, sans réponse</td><td>01/01/2026 09:00:02 +00:00</td>"}, {},
     nullptr, false, {5}},
    {"report_html_drops_bidi_and_controls", nullptr, {}, {"report", "--network", kHostileNetwork,
     "--journal", "@/a", "--out", "@/a/rapport.html"}, nullptr, kQuickStep, 0, "Rapport écrit : ",
     {}, kNoRecord, PlantHostileNetwork, nullptr, {},
     {"Réseau : NordTXT.exe[31m  X</li>", "Reçu à l'envers </td>"},
     [](const std::string& data) {
         const std::string html = ReadAll(data + "/a/rapport.html");
         return html.find("\u202e") == std::string::npos &&
                html.find("\u2067") == std::string::npos && html.find('\x1b') == std::string::npos;
     }, nullptr, false, {5}},
    {"report_pdf_title_drops_bidi_and_controls", nullptr, {}, {"report", "--network",
     kHostileNetwork, "--journal", "@/a", "--out", "@/a/rapport.pdf"}, nullptr, kQuickStep, 0,
     "Rapport écrit : ", {}, kNoRecord, PlantHostileNetwork, nullptr, {}, {"Réseau : NordTXT.exe"},
     CleanPdfTitle, nullptr, false, {5}},
    {"report_pdf_cuts_a_message_of_200_kb", nullptr, {}, {"report", "--network", "Station Nord",
     "--journal", "@/a", "--out", "@/a/rapport.pdf"}, nullptr, kQuickStep, 0, "Rapport écrit : ",
     {}, kNoRecord, PlantLongMessage, nullptr, {}, {"(coupé ici"}, {}, nullptr, false, {5}},
    {"plan_check_accepts_the_shipped_example", nullptr, {}, {"plan", "check", ZAV_PLAN_EXAMPLE},
     nullptr, kQuickStep, 0, "Plan correct : réseau Station Nord, 3 répéteurs, 6 capteurs et le "
     "modem.\n", {}, kNoRecord},
    {"plan_check_names_every_bad_line", nullptr, {}, {"plan", "check", "@/bad.csv"}, nullptr,
     kQuickStep, 2, "!bad.csv : ligne 5 : CHF : Tapez un nombre entier compris entre 0 et 255.\n",
     {}, kNoRecord, PlantPlanFiles, "Plan correct"},
    {"plan_check_counts_every_reason", nullptr, {}, {"plan", "check", "@/bad.csv"}, nullptr,
     kQuickStep, 2, "!plan refusé (4 problèmes) : rien n'en est gardé.", {}, kNoRecord,
     PlantPlanFiles},
    {"plan_check_of_a_device_file", nullptr, {}, {"plan", "check", "/dev/zero"}, nullptr,
     kQuickStep, 2, "!/dev/zero : ce n'est pas un fichier ordinaire", {}, kNoRecord},
    {"plan_check_of_a_missing_file", nullptr, {}, {"plan", "check", "@/nowhere.csv"}, nullptr,
     kQuickStep, 2, "!nowhere.csv : fichier introuvable", {}, kNoRecord},
    {"plan_check_wants_a_file", nullptr, {}, {"plan", "check"}, nullptr, kQuickStep, 2,
     "!plan check demande un FICHIER.", {}, kNoRecord},
    {"plan_import_needs_the_administrator", nullptr, {}, {"plan", "import", "@/nord.csv"},
     nullptr, kQuickStep, 2, "!plan import demande le rôle Administateur : ajoutez --admin.", {},
     kNoRecord, PlantPlanFiles, nullptr, {}, {}, NoPlanKept},
    {"plan_import_refuses_a_wrong_password", nullptr, {},
     {"plan", "import", "@/nord.csv", "--admin"}, "1234", kQuickStep, 2,
     "!Mot de passe incorrect.", {}, kNoRecord, PlantPlanFiles, nullptr, {}, {}, NoPlanKept},
    {"plan_import_keeps_nothing_of_a_bad_plan", nullptr, {},
     {"plan", "import", "@/bad.csv", "--admin"}, "2846", kQuickStep, 2,
     "!plan refusé (4 problèmes) : rien n'en est gardé.", {}, kNoRecord, PlantPlanFiles, nullptr,
     {}, {}, NoPlanKept},
    {"plan_import_keeps_the_plan_of_its_network", nullptr, {},
     {"plan", "import", "@/nord.csv", "--admin"}, "2846", kQuickStep, 0,
     "Plan importé : réseau Station Nord, 2 répéteurs, 1 capteur, sans modem.", {}, kNoRecord,
     PlantPlanFiles, nullptr, {}, {}, NordPlanKept},
    {"plan_export_of_an_unknown_network", nullptr, {}, {"plan", "export", "--network", "Ouest",
     "--out", "@/x.csv"}, nullptr, kQuickStep, 2, "!aucun échange du réseau Ouest dans le journal.",
     {}, kNoRecord},
    {"plan_export_wants_its_output", nullptr, {}, {"plan", "export", "--network", "Station Nord"},
     nullptr, kQuickStep, 2, "!plan export demande --network et --out", {}, kNoRecord},
    {"plan_export_writes_the_network_as_built", nullptr, {}, PlanExport(), nullptr, kQuickStep,
     0, "Plan tel que construit écrit : réseau Station Nord, 3 répéteurs, 1 capteur, sans modem.",
     {}, kNoRecord, PlantTwoFoldersAndTheirPlan, nullptr, {}, {}, AsBuiltNord},
    {"plan_export_leaves_out_what_was_not_read_back", nullptr, {}, PlanExport(), nullptr,
     kQuickStep, 0, "!ID 7 : pas de relecture complète, laissé hors du plan.\nzav7305-cli : ID 8 "
     ": pas de relecture complète, laissé hors du plan.\nzav7305-cli : modem : pas de relecture",
     {}, kNoRecord, PlantTwoFoldersAndTheirPlan},
    {"plan_export_keeps_an_earlier_file", nullptr, {}, PlanExport(), nullptr, kQuickStep, 3,
     "!le fichier existe déjà. Ajoutez --replace pour le remplacer.", {}, kNoRecord,
     [](const std::string& runtime, const std::string& journal) {
         return PlantTwoFolders(runtime, journal) &&
                static_cast<bool>(std::ofstream(journal + "/tel-que-construit.csv") << "ancien");
     }, nullptr, {}, {}, EarlierExportKept},
    {"report_cover_technician_verdict_signatures_provenance", nullptr, {},
     Report("@/a/rapport.pdf", "--technicien=Jeanne Martin"), nullptr, kQuickStep, 0,
     "Rapport écrit : ", {}, kNoRecord, PlantTwoFolders, nullptr, {},
     {"Client : non renseigné", "Site : non renseigné", "Adresse : non renseigné",
      "Réseau : Station Nord", "Technicien : Jeanne Martin", "Premier échange : 01/01/2026",
      "Dernier échange : 02/01/2026", "Verdict d'ensemble : Non conforme",
      "Non conformes : 7, 8, 13, Modem P0", "Réserves : 6", "Le technicien\nJeanne Martin",
      "Le client", "Date et signature", "Échanges : 8", "Lignes ignorées : 1",
      "Modem 0/6 paramètres vérifiés, 1 à reprendre, 5 non envoyés",
      "Paramètres du modem jamais envoyés : "}, ProvenanceLast, nullptr, false, kNordIds},
    {"report_conforme_when_every_send_is_verified", nullptr, {}, Report("@/a/rapport.html"),
     nullptr, kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord, PlantGoodWork, nullptr, {},
     {"Verdict d'ensemble : Conforme</b>", "Réserves : aucun", "Non conformes : aucun",
      "Technicien : non renseigné", "<p>Aucun incident.</p>"}, {}, nullptr, false, {5, 6, 7}},
    {"report_reserves_count_devices_redone_after_an_incident", nullptr, {},
     Report("@/a/rapport.html"), nullptr, kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord,
     PlantRedoneWork, nullptr, {},
     {"Verdict d'ensemble : Conforme avec réserves (2)</b>", "Réserves : 5, 6",
      "<tr><td>01/01/2026 09:00:01 +00:00</td><td>ID 5</td><td>? envoyée, sans réponse</td>"
      "<td>repris le 01/01/2026 09:00:04 +00:00</td></tr>",
      "<tr><td>01/01/2026 09:00:02 +00:00</td><td>ID 6</td><td>✗ échec du port</td>"
      "<td>repris le 01/01/2026 09:00:05 +00:00</td></tr>",
      "<tr><td>01/01/2026 09:00:03 +00:00</td><td>ID 6</td><td>≠ CHF envoyé 012, lu 013</td>"
      "<td>repris le 01/01/2026 09:00:05 +00:00</td></tr>"}, {}, nullptr, false, {5, 6, 7}},
    {"report_of_three_ids_is_one_or_two_pages", nullptr, {}, Report("@/a/rapport.pdf"), nullptr,
     kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord, PlantRedoneWork, nullptr, {},
     {"Historique des incidents", "repris le 01/01/2026"}, OneOrTwoPages, nullptr, false,
     {5, 6, 7}},
    {"report_never_splits_a_row_across_pages", nullptr, {}, Report("@/a/rapport.pdf"), nullptr,
     kQuickStep, 0, "Rapport écrit : ", {}, kNoRecord, PlantTallRows, nullptr, {}, {},
     EveryRowOnOnePage},
};
// clang-format on

class CliTest : public ::testing::TestWithParam<CliCase> {
protected:
    // Rows change the time zone and the file size limit for their run; the next row gets
    // them back.
    void SetUp() override {
        const char* zone = std::getenv("TZ");
        savedZone = zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
        ::getrlimit(RLIMIT_FSIZE, &savedLimit);
    }
    void TearDown() override {
        savedZone ? ::setenv("TZ", savedZone->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
        ::setrlimit(RLIMIT_FSIZE, &savedLimit);
        PeerLines();
    }

    std::string RuntimeFolder() const { return runtime / "zav7305"; }

    bool StartSim(const char* device, const std::vector<std::string>& extra) {
        CSimProcess::Options options;
        options.device = device;
        options.extraArgs = extra;
        options.runtimeDir = RuntimeFolder();
        return sim.Start(options);
    }

    using Ask = std::function<std::optional<std::string>()>;

    int32_t DevicePort() const { return devicePort != 0 ? devicePort : sim.PortNumber(); }

    int Run(
        std::vector<std::string> args, const char* password, uint32_t step,
        Ask ask = [] { return std::optional<std::string>(); }) {
        for (size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "@") {
                args[i] = "COM" + std::to_string(DevicePort());
            } else if (args[i].rfind("@/", 0) == 0) {
                args[i] = data.Path() + args[i].substr(1);
            }
            if (args[i] == "--port" && i + 1 < args.size()) {
                port = args[i + 1] == "@" ? "COM" + std::to_string(DevicePort()) : args[i + 1];
            }
        }
        CPortDirectory::Roots roots;
        roots.runtime = RuntimeFolder();
        const CPortDirectory ports(roots);
        CFakeClock clock(0, step);
        CliEnvironment environment{
            clock,
            ports,
            data.Path(),
            password != nullptr ? std::optional<std::string>(password) : std::nullopt,
            std::move(ask),
            out,
            err};
        return CCliRunner(environment).Run(args);
    }

    // A device that reads the frame and its read-back request, then answers `report`.
    bool StartPeer(const char* report) {
        if (!peer.Valid() || mkdir(RuntimeFolder().c_str(), 0700) != 0 ||
            !LinkTo(RuntimeFolder() + "/COM" + std::to_string(kPeerPort), peer.SlavePath())) {
            return false;
        }
        devicePort = kPeerPort;
        peerThread = std::thread([this, report] {
            peerGot = peer.ReadMaster(kClientFrame[0].size() + kClientFrame[1].size() + 2, 5000);
            peer.WriteMaster(report);
        });
        return true;
    }
    // What the peer got, line by line.
    Lines PeerLines() {
        if (peerThread.joinable()) {
            peerThread.join();
        }
        Lines lines;
        std::istringstream text(peerGot);
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    static constexpr int32_t kPeerPort = 995;
    TempDir runtime;
    TempDir data;
    std::optional<std::string> savedZone;
    rlimit savedLimit{};
    std::string port;  // as the last run was given it
    CSimProcess sim;
    int32_t devicePort = 0;
    PtyPair peer;
    std::thread peerThread;
    std::string peerGot;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_P(CliTest, ExitCodeOutputDeviceAndJournal) {
    const CliCase& c = GetParam();
    if (c.device != nullptr) {
        ASSERT_TRUE(StartSim(c.device, c.simArgs));
    }
    if (c.peerReport != nullptr) {
        ASSERT_TRUE(StartPeer(c.peerReport));
    }
    if (c.prepare) {
        ASSERT_TRUE(c.prepare(RuntimeFolder(), data.Path()));
    }
    EXPECT_EQ(Run(c.args, c.password, c.step), c.exitCode) << out.str() << err.str();
    ::setrlimit(RLIMIT_FSIZE, &savedLimit);
    if (c.after) {
        EXPECT_TRUE(c.after(data.Path())) << out.str() << err.str();
    }
    if (c.absent != nullptr) {
        EXPECT_EQ((out.str() + err.str()).find(c.absent), std::string::npos)
            << out.str() << err.str();
    }
    const std::string printed = c.printed[0] == '!' ? err.str() : out.str();
    const std::string expected = c.printed[0] == '!' ? c.printed + 1 : c.printed;
    EXPECT_NE(printed.find(expected), std::string::npos) << printed;
    if (c.device != nullptr) {
        EXPECT_EQ(sim.ReceivedLines(), c.received);
    }
    if (c.peerReport != nullptr) {
        EXPECT_EQ(PeerLines(), c.received);
    }
    if (c.controlFree) {
        const std::string text = out.str();
        EXPECT_TRUE(std::none_of(text.begin(), text.end(), [](char b) {
            return static_cast<unsigned char>(b) < 0x20 && b != '\n';
        })) << text;
    }
    if (!c.reportHas.empty()) {
        const std::string& path = *std::find_if(c.args.rbegin(), c.args.rend(), [](const auto& a) {
            return a.ends_with(".pdf") || a.ends_with(".html");
        });
        const std::string report = ReportText(data.Path() + path.substr(1));
        for (const std::string& part : c.reportHas) {
            EXPECT_NE(report.find(part), std::string::npos) << part << "\n" << report;
        }
        // Every ID sent has its row, as a cell of its own; an ID never sent has none.
        for (int id = 1; id <= 240; ++id) {
            const std::string cell = path.ends_with(".html")
                                         ? "<tr><td>" + std::to_string(id) + "</td>"
                                         : "\n" + std::to_string(id) + "\n\n";
            const bool sent = std::find(c.rowIds.begin(), c.rowIds.end(), id) != c.rowIds.end();
            EXPECT_EQ(report.find(cell) != std::string::npos, sent) << "ID " << id;
        }
    }
    const auto records = JournalRecords(data.Path());
    ASSERT_EQ(records.size(), c.journal == kOneRecord ? size_t{1} : size_t{0});
    if (!c.networkColumns.empty()) {
        const auto& record = records.at(0);
        EXPECT_EQ(std::vector<std::string>(record.end() - 2, record.end()), c.networkColumns);
    }
    if (c.journal == kOneRecord) {
        EXPECT_EQ(records[0][2], "ligne de commande");
        EXPECT_EQ(records[0][3], port);
        EXPECT_EQ(records[0][1], c.password != nullptr ? "Administateur" : "Client");
        // The journal keeps the verdict that was printed, and none when none was.
        const std::string verdict = records[0][14];
        const std::string text = out.str();
        const auto at = text.find("Verdict : ");
        if (at != std::string::npos) {
            EXPECT_EQ(verdict, text.substr(at + 10, text.find('\n', at) - at - 10));
        } else if (text.find("\"verdict\":\"") != std::string::npos) {
            EXPECT_NE(text.find("\"verdict\":\"" + verdict + "\""), std::string::npos);
        } else {
            EXPECT_EQ(verdict, "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, CliTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class CliProcessTest : public CliTest {};

// The network as built, imported again, is the plan that was exported.
TEST_F(CliProcessTest, PlanExportImportsAgainAsTheSamePlan) {
    ASSERT_TRUE(PlantTwoFoldersAndTheirPlan(RuntimeFolder(), data.Path()));
    ASSERT_EQ(Run(PlanExport(), nullptr, kQuickStep), 0) << err.str();
    const std::string exported = ReadAll(data.Path() + "/tel-que-construit.csv");
    ASSERT_EQ(Run({"plan", "import", "@/tel-que-construit.csv", "--admin"}, "2846", kQuickStep), 0)
        << err.str();
    SitePlan stored;
    ASSERT_EQ(CPlanStore(CPlanStore::FolderBeside(data.Path())).Load("Station Nord", stored),
              FILE_OK);
    EXPECT_EQ(stored, *PlanReader::Read(exported).plan);
    EXPECT_NE(stored, *PlanReader::Read(kNordPlan).plan)
        << "the values read back replace the plan's";
    EXPECT_EQ(ReadAll(data.Path() + "/plans/Station%20Nord.csv"), exported);
}

// The program reads its folders and the password from the environment; the ports listing
// shows the simulator under the setup dialog's name.
TEST_F(CliProcessTest, ProgramTakesItsEnvironment) {
    ASSERT_TRUE(StartSim("repeater", {}));
    const std::string env = "XDG_RUNTIME_DIR=" + runtime.Path() + " XDG_DATA_HOME=" + data.Path() +
                            " ZAV7305_PASSWORD=2846 ";
    const std::string port = "COM" + std::to_string(sim.PortNumber());
    FILE* pipe = popen((env + ZAV_CLI_PATH + " ports && " + env + ZAV_CLI_PATH + " send --port " +
                        port + " --admin --chf 12 </dev/null")
                           .c_str(),
                       "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char chunk[256];
    while (size_t n = fread(chunk, 1, sizeof chunk, pipe)) {
        output.append(chunk, n);
    }
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_NE(output.find(port + " "), std::string::npos) << output;
    EXPECT_NE(output.find("Verdict : Configuration vérifiée"), std::string::npos) << output;
    EXPECT_EQ(sim.ReceivedLines(), Lines({"u001012603000100", "u"}));
    EXPECT_EQ(JournalRecords(data.Path() + "/zav7305").size(), 1u);
}

// Two machines send into one shared folder; a sync tool leaves a conflict copy and a file in
// transfer there, and a copy of the whole folder is read too: the report has each exchange
// once, the ID the machines programmed differently among its anomalies, and what it left aside.
TEST_F(CliProcessTest, TwoMachinesShareOneJournalFolder) {
    ASSERT_TRUE(StartSim("repeater", {}));
    const std::string shared = data / "partage";
    const std::string copy = data / "copie";
    const std::string port = "COM" + std::to_string(sim.PortNumber());
    const auto run = [&](const std::string& machine, const std::string& args) {
        const std::string command = "XDG_RUNTIME_DIR=" + runtime.Path() +
                                    " XDG_DATA_HOME=" + data.Path() +
                                    " ZAV7305_PASSWORD=2846 ZAV7305_MACHINE=" + machine + " " +
                                    ZAV_CLI_PATH + " " + args + " </dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const std::string into = " --port " + port + " --journal " + shared + " --network Nord ";
    ASSERT_EQ(run("poste-a", "send" + into + "--admin --id 5 --chf 12 >/dev/null"), 0);
    ASSERT_EQ(run("poste-b", "send" + into + "--admin --id 5 --chf 14 >/dev/null"), 0);
    ASSERT_EQ(run("poste-b", "send" + into + "--id 6 >/dev/null"), 0);
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(shared)) {
        files.push_back(item.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_NE(files[0].find(".poste-a.csv"), std::string::npos) << files[0];
    EXPECT_NE(files[1].find(".poste-b.csv"), std::string::npos) << files[1];
    const std::string day = files[1].substr(0, 10);
    const std::string b = ReadAll(shared + "/" + files[1]);
    ASSERT_TRUE(std::ofstream(shared + "/" + day + ".poste-b.sync-conflict-" + day + "-AB.csv")
                << b);
    ASSERT_TRUE(std::ofstream(shared + "/.syncthing." + files[0] + ".tmp") << b);
    std::filesystem::copy(shared, copy);
    const std::string out = data / "rapport.pdf";
    ASSERT_EQ(run("poste-a", "report --network Nord --journal " + shared + " --journal " + copy +
                                 " --out " + out + " >/dev/null"),
              0);
    const std::string text = ReportText(out);
    EXPECT_NE(text.find("Échanges : 3"), std::string::npos) << text;
    EXPECT_NE(text.find("programmé sur 2 postes : 5 : poste-a"), std::string::npos) << text;
    EXPECT_NE(text.find("Fichiers laissés de côté"), std::string::npos) << text;
    EXPECT_NE(text.find("sync-conflict"), std::string::npos) << text;
    EXPECT_NE(text.find(".syncthing."), std::string::npos) << text;
}

// What the user types for the password goes to the program, never back to the screen.
TEST_F(CliProcessTest, AdminPasswordIsAskedOnTheTerminalWithoutEcho) {
    ASSERT_TRUE(StartSim("repeater", {}));
    PtyPair terminal;
    ASSERT_TRUE(terminal.Valid());
    const std::string port = "COM" + std::to_string(sim.PortNumber());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A session of its own whose controlling terminal is the slave, set up as a shell's.
        setsid();
        const int tty = open(terminal.SlavePath().c_str(), O_RDWR);
        termios cooked{};
        if (tty < 0 || tcgetattr(tty, &cooked) != 0) {
            _exit(99);
        }
        cooked.c_lflag |= ECHO | ICANON;
        cooked.c_iflag |= ICRNL;
        tcsetattr(tty, TCSANOW, &cooked);
        _exit(Run({"send", "--port", port, "--admin", "--chf", "12"}, nullptr, kQuickStep,
                  [] { return AskPasswordOnTerminal("Mot de passe : "); }));
    }
    const std::string prompt = terminal.ReadMaster(15, 5000);
    EXPECT_EQ(prompt, "Mot de passe : ");
    ASSERT_TRUE(terminal.WriteMaster("2846\n"));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(terminal.DrainMaster().find("2846"), std::string::npos);
    EXPECT_EQ(sim.ReceivedLines(), Lines({"u001012603000100", "u"}));
}

size_t Count(const Lines& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

size_t LinesIn(const std::string& path) {
    const std::string text = ReadAll(path);
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// A walk of sends is killed while the device delays a reply: every exchange that had ended
// is in the journal, whole and in order, and nothing of the killed one is.
TEST_F(CliProcessTest, KilledMidWalkLosesNoCompletedExchange) {
    ASSERT_TRUE(StartSim("repeater", {"--delay", "150"}));
    const std::string port = "COM" + std::to_string(sim.PortNumber());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (int id = 1; id <= 100; ++id) {
            Run({"send", "--port", port, "--id", std::to_string(id)}, nullptr, kQuickStep);
        }
        _exit(0);
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::string journal = data / JournalFormat::FileName(now);
    const auto giveUp = std::chrono::steady_clock::now() + 30s;
    bool waiting = false;
    while (!waiting && std::chrono::steady_clock::now() < giveUp) {
        const size_t records = LinesIn(journal) > 0 ? LinesIn(journal) - 1 : 0;
        waiting = records >= 3 && Count(sim.ReceivedLines(), "u") == records + 1;
        if (!waiting) {
            std::this_thread::sleep_for(5ms);
        }
    }
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(waiting) << "the walk never reached a wait for a reply: " << LinesIn(journal)
                         << " journal lines, " << Count(sim.ReceivedLines(), "u") << " requests";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    const auto records = JournalRecords(data.Path());
    const size_t started = Count(sim.ReceivedLines(), "u");
    ASSERT_GE(records.size(), 3u);
    // The reply may have come between the look and the kill; then that exchange ended too.
    EXPECT_TRUE(records.size() == started - 1 || records.size() == started) << records.size();
    for (size_t i = 0; i < records.size(); ++i) {
        char frame[64];
        std::snprintf(frame, sizeof frame, "u%03zu255603000100\\nu\\n", i + 1);
        EXPECT_EQ(records[i][6], frame);
        EXPECT_EQ(records[i][14], "Configuration vérifiée");
    }
}

}  // namespace
