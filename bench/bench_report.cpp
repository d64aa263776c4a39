// Times the acceptance report of a full network: 240 devices and the modem, 2 000 records
// (every ID sent several times, some read back different, some silent), written as PDF and
// as HTML into the first argument's folder (default: the system's temporary folder).

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "JournalEntry.h"
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
    for (int i = 0; i < kRecords; ++i) {
        input.entries.push_back(Entry(i));
    }
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
        std::printf("report of 240 devices, %d records, %s: %.0f ms (%ju bytes)\n", kRecords, name,
                    ms, static_cast<uintmax_t>(std::filesystem::file_size(path)));
    }
    return 0;
}
