// Times what the network map adds to the sheet: opening it on a journal folder (for instance
// the year bench_network_map leaves with "keep") against an empty one, and bringing the map
// up to date after one more exchange.
//   bench_sheet_map JOURNAL_FOLDER [NETWORK]

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

#include "CDefaultSheet.h"
#include "CEditorJournal.h"
#include "CJournal.h"
#include "CLastNetworkName.h"
#include "CPageCapteur.h"
#include "CPageRepe.h"
#include "CSystemClock.h"

namespace {

constexpr int kRetour = 255;

// Milliseconds from DoModal to the sheet on screen; then `inside` runs on the shown sheet.
double OpenSheet(const std::string& folder, const QString& network,
                 const std::function<void(CDefaultSheet&)>& inside = {}) {
    QTemporaryDir state;
    const CLastNetworkName lastNetwork(state.filePath(QStringLiteral("reseau")));
    lastNetwork.Save(network);
    CEditorJournal journal(folder);
    CPageRepe repeaterPage;
    CPageCapteur sensorPage;
    CDefaultSheet opening(repeaterPage, sensorPage,
                          {0, 0, 20, CSystemClock::Instance(), journal, lastNetwork});
    QElapsedTimer timer;
    double shownMs = 0;
    QTimer::singleShot(0, [&] {
        shownMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (inside) {
            inside(opening);
        }
        opening.Sheet().EndDialog(kRetour);
    });
    timer.start();
    opening.DoModal();
    return shownMs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s JOURNAL_FOLDER [NETWORK]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string folder = argv[1];
    const QString network = QString::fromUtf8(argc > 2 ? argv[2] : "Station Nord");
    QTemporaryDir empty;
    OpenSheet(empty.path().toStdString(), network);  // warms up fonts and styles
    const double bare = OpenSheet(empty.path().toStdString(), network);
    double updateMs = 0;
    const double full = OpenSheet(folder, network, [&](CDefaultSheet& opening) {
        ExchangeRecord record;
        record.kind = ExchangeKind::SendConfig;
        record.command = "u007255601004100";
        record.sentConfig = ParameterSet{7, 255, 60, "1", 4, 100};
        record.bytesSent = record.command + "\nu\n";
        CJournal(folder).Append({"Administateur", "Répéteur", "COM3", network.toStdString(), 20},
                                record);
        QElapsedTimer timer;
        timer.start();
        opening.Sheet().PageChanged();
        updateMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    });
    std::printf(
        "sheet opened in %.1f ms on an empty journal, %.1f ms on %s: the map adds %.1f ms\n", bare,
        full, folder.c_str(), full - bare);
    std::printf("map brought up to date after one exchange in %.2f ms\n", updateMs);
    return 0;
}
