// Times the acceptance report of a full network: 240 devices and the modem, 2 000 records
// (every ID sent several times, some read back different, some silent), written as PDF and
// as HTML into the first argument's folder (default: the system's temporary folder).
// A second argument "messages" makes it 240 records with a message of 800 words each,
// "long-message" one record with a message of 200 KB: the report's time must grow with its
// size, not its square. "plan" makes it the 2 000 records judged against a plan of all 240
// devices and the modem, some planned with other values than those sent.

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "JournalEntry.h"
#include "ReportInput.h"
#include "SitePlan.h"
#include "WriteReport.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 2000;
constexpr int64_t kStartMs = 1767258000000;  // 2026-01-01 09:00 UTC

JournalEntry Entry(int i) {
    JournalEntry entry;
    const int id = i % 240 + 1;
    char frame[32];
    std::snprintf(frame, sizeof frame, "u%03d25560%c004100", id, '1');
    entry.epochMs = kStartMs + i * 30000LL;
    const int64_t seconds = entry.epochMs / 1000;
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "2026-01-%02dT%02d:%02d:%02d.000+00:00",
                  static_cast<int>(1 + (seconds - kStartMs / 1000 + 32400) / 86400),
                  static_cast<int>(seconds / 3600 % 24), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    entry.timestamp = stamp;
    entry.role = i % 3 == 0 ? "Administateur" : "Client";
    entry.editor = id <= 20 ? "Répéteur" : "Capteur";
    entry.portName = "COM3";
    entry.kind = ExchangeKind::SendConfig;
    entry.command = frame;
    entry.network = "Station Nord";
    entry.repeaterCount = 20;
    if (i % 41 != 0) {
        entry.bytesSent = entry.command + "\nu\n";
        char report[48];
        std::snprintf(report, sizeof report, "TM010203V14%03d%03d100060004100\r\n", id,
                      i % 29 == 0 ? 254 : 255);
        entry.report = report;
        entry.verdict = i % 29 == 0 ? "CHF envoyé 255, lu 254" : "Configuration vérifiée";
    } else {
        entry.message = "Echec d'émission de la configuration.";
    }
    return entry;
}

std::string Words(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : " ") + std::string(i % 7 == 0 ? "configuration" : "mot");
    }
    return text;
}

std::vector<JournalEntry> Entries(const std::string& mode) {
    std::vector<JournalEntry> entries;
    if (mode == "messages") {
        for (int i = 0; i < 240; ++i) {
            entries.push_back(Entry(i));
            entries.back().message = Words(800);
        }
    } else if (mode == "long-message") {
        entries.push_back(Entry(0));
        entries.back().message = Words(200 * 1024 / 6);
    } else {
        for (int i = 0; i < kRecords; ++i) {
            entries.push_back(Entry(i));
        }
    }
    return entries;
}

// Every ID planned with the values the records send, every seventh with another CHF.
SitePlan FullPlan() {
    SitePlan plan(SiteFacts{"Station Nord", "Eaux du Val", "Usine", "1 rue Haute", 20});
    for (int32_t id = 1; id <= 240; ++id) {
        PlannedDevice device;
        device.id = id;
        device.role = id <= 20 ? PlanRole::kRepeater : PlanRole::kSensor;
        device.label = "Appareil " + std::to_string(id);
        device.location = "Local " + std::to_string(id % 12);
        device.values = ParameterSet{id, id % 7 == 0 ? 254 : 255, 60, "1", 4, 100};
        plan.AddDevice(device);
    }
    PlannedModem modem;
    modem.label = "Modem";
    modem.values.fill(1);
    plan.SetModem(modem);
    return plan;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    const std::filesystem::path base =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    ReportInput input;
    input.network = "Station Nord";
    input.folders = {"/home/technicien/.local/share/zav7305"};
    const std::string mode = argc > 2 ? argv[2] : "";
    input.entries = Entries(mode == "plan" ? "" : mode);
    if (mode == "plan") {
        JudgeAgainstPlan(input, FullPlan());
    }
    input.toolVersion = ToolVersion();
    input.machineName = "poste-bench";
    for (const char* name : {"bench-rapport.pdf", "bench-rapport.html"}) {
        const std::string path = (base / name).string();
        std::string error;
        const auto start = Clock::now();
        const int status = WriteReport(input, path, error);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (status != REPORT_OK) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("report of %zu records%s, %s: %.0f ms (%ju bytes)\n", input.entries.size(),
                    input.plan ? " against a 240-device plan" : "", name, ms,
                    static_cast<uintmax_t>(std::filesystem::file_size(path)));
    }
    return 0;
}
