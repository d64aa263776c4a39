// Times the network map: built from a year of journal (365 daily files, 120 000 records over
// several networks), then brought up to date after one more exchange by following the folder
// instead of reading it again; then the map of a folder four machines share, a year each (480 000
// records of one network), followed and read as the report reads it. The year is written under the
// first argument (default: the system's temporary folder) and left there when a second argument
// "keep" is given.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CJournal.h"
#include "CJournalReader.h"
#include "CNetworkMap.h"
#include "JournalFormat.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDays = 365;
constexpr int kRecords = 120000;
constexpr time_t kFirstDay = 1767225600;  // 2026-01-01
const char* const kNetworks[] = {"Station Nord", "Station Sud", "Dépôt Est", "Quai Ouest"};

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// This process's own processor time, which a machine shared with other work does not inflate.
double CpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

ExchangeRecord Record(int i) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    const int id = i % 240 + 1;
    char frame[32];
    std::snprintf(frame, sizeof frame, "u%03d25560%c004100", id, '1');
    record.command = frame;
    record.devicePath = "/dev/ttyUSB0";
    if (i % 17 != 0) {
        record.sentConfig = ParameterSet{id, 255, 60, "1", 4, 100};
        record.bytesSent = record.command + "\nu\n";
        char report[48];
        std::snprintf(report, sizeof report, "TM010203V14%03d%03d100060004100\r\n", id,
                      i % 23 == 0 ? 254 : 255);
        record.report = report;
    }
    return record;
}

// `network` empty: the records spread over the four networks.
void WriteYear(const std::string& folder, const std::string& machine = "poste-1",
               const char* network = nullptr) {
    CJournal journal(folder, machine);
    const int perDay = kRecords / kDays + 1;
    std::string text;
    for (int day = 0, i = 0; day < kDays; ++day) {
        const timespec first{kFirstDay + day * 86400 + 8 * 3600, 0};
        text = JournalFormat::HeaderLine();
        for (int k = 0; k < perDay && i < kRecords; ++k, ++i) {
            const JournalContext context{"Administateur", "Répéteur", "COM3",
                                         network != nullptr ? network : kNetworks[i / 500 % 4], 20};
            text +=
                JournalFormat::RecordLine(context, Record(i), timespec{first.tv_sec + k * 20, 0});
        }
        std::ofstream(journal.PathFor(first), std::ios::binary) << text;
    }
}

// Four machines' years in one folder, every record of one network: the map takes them all.
int TimeSharedFolder(const fs::path& base) {
    const std::string folder = (base / "zav7305-bench-shared").string();
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int machine = 1; machine <= 4; ++machine) {
        WriteYear(folder, "poste-" + std::to_string(machine), "Station Nord");
    }
    const double cpuStart = CpuMs();
    const auto start = Clock::now();
    CJournalFollower follower(folder, "Station Nord");
    CNetworkMap map("Station Nord");
    follower.ReadNew([&map](const JournalEntry& entry) { map.Add(entry); });
    const auto built = Clock::now();
    std::printf(
        "shared folder, 4 machines x %d files: map of %zu records in %.1f ms (%.1f ms of "
        "processor)\n",
        kDays, map.EntryCount(), Ms(built - start), CpuMs() - cpuStart);
    const auto readStart = Clock::now();
    const JournalScan scan = ReadJournal({folder, folder + "/."}, "Station Nord");
    CNetworkMap again("Station Nord");
    again.Add(scan.entries);
    std::printf("the same read as the report reads it: %zu records in %.1f ms\n",
                again.EntryCount(), Ms(Clock::now() - readStart));
    CJournal journal(folder, "poste-2");
    const JournalContext context{"Client", "Répéteur", "COM3", "Station Nord", 20};
    std::vector<double> times;
    for (int u = 0; u < 50; ++u) {
        journal.Append(context, Record(u),
                       timespec{kFirstDay + (kDays - 1) * 86400 + 80000 + u, 0});
        const auto before = Clock::now();
        follower.ReadNew([&map](const JournalEntry& entry) { map.Add(entry); });
        times.push_back(Ms(Clock::now() - before));
    }
    std::sort(times.begin(), times.end());
    std::printf("shared folder, one arriving record, 50 runs: median %.2f ms, worst %.2f ms\n",
                times[times.size() / 2], times.back());
    fs::remove_all(folder);
    return map.EntryCount() == 4u * kRecords + 50u ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const bool keep = argc > 2 && std::string(argv[2]) == "keep";
    const std::string folder = (base / "zav7305-bench-map").string();
    fs::remove_all(folder);
    fs::create_directories(folder);
    WriteYear(folder);

    const double cpuStart = CpuMs();
    const auto start = Clock::now();
    CJournalFollower follower(folder, "Station Nord");
    CNetworkMap map("Station Nord");
    follower.ReadNew([&map](const JournalEntry& entry) { map.Add(entry); });
    map.CountSkipped(follower.SkippedLines());
    const auto built = Clock::now();
    std::printf(
        "map from %d files, %d records: %.1f ms (%.1f ms of processor; %zu entries of the "
        "network, %zu lines skipped)\n",
        kDays, kRecords, Ms(built - start), CpuMs() - cpuStart, map.EntryCount(),
        map.SkippedLines());

    CJournal journal(folder);
    const JournalContext context{"Client", "Répéteur", "COM3", "Station Nord", 20};
    std::vector<double> times;
    const int updates = 50;
    for (int u = 0; u < updates; ++u) {
        if (journal.Append(context, Record(u),
                           timespec{kFirstDay + (kDays - 1) * 86400 + 80000 + u, 0}) !=
            JOURNAL_OK) {
            std::fprintf(stderr, "journal append failed\n");
            return 1;
        }
        const auto before = Clock::now();
        map.Add(follower.ReadNew());
        times.push_back(Ms(Clock::now() - before));
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "map update after one exchange, %d runs: median %.2f ms, worst %.2f ms (%zu "
        "entries)\n",
        updates, times[times.size() / 2], times.back(), map.EntryCount());
    if (TimeSharedFolder(base) != 0) {
        std::fprintf(stderr, "shared folder: records lost or counted twice\n");
        return 1;
    }
    if (!keep) {
        fs::remove_all(folder);
    } else {
        std::printf("journal kept in %s\n", folder.c_str());
    }
    return 0;
}
