#include "CPictureBook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "CAboutDlg.h"
#include "CCustomConfigDlg.h"
#include "CDefaultSheet.h"
#include "CJournalReader.h"
#include "CLastNetworkName.h"
#include "CLoginDlg.h"
#include "CNetworkMapView.h"
#include "CPageCapteur.h"
#include "CPageRepe.h"
#include "CPortDirectory.h"
#include "CSetupDlg.h"
#include "CSimProcess.h"
#include "CSystemClock.h"
#include "Frames.h"
#include "PlanSample.h"
#include "VerdictDisplay.h"
#include "WriteReport.h"

namespace {

constexpr int kRetour = 255;
constexpr int kCancel = 2;
// A repeater's report as the device sends it.
constexpr char kSampleReport[] = "TM010203V14001255100060004300\n";
const char* const kTabNames[] = {"sheet-repeater", "sheet-sensor", "sheet-modem"};
constexpr char kNetwork[] = "Station Nord";
constexpr int32_t kNetworkRepeaters = 4;

// A send of the page defaults to `id`; the device reports `chfRead` for CHF, or nothing.
ExchangeRecord SampleSend(int32_t id, std::optional<int32_t> chfRead) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    record.portNumber = 900;
    record.devicePath = "/dev/pts/3";
    record.sentConfig = ParameterSet{id, 255, 60, "3", 4, 100};
    record.command = BuildConfigFrame(*record.sentConfig).value_or("");
    record.bytesSent = record.command + "\nu\n";
    if (chfRead) {
        char report[40];
        std::snprintf(report, sizeof report, "TM010203V14%03d%03d100060004300\n", id, *chfRead);
        record.report = report;
    } else {
        record.message = "Echec de la configuration.";
    }
    return record;
}

// Yesterday's walk: the repeaters, the first sensors, a sensor that took another channel and
// one that stayed silent.
bool JournalSampleWalk(const std::string& folder) {
    CJournal journal(folder);
    // Each device on the page of its band, as the walk was made.
    const JournalContext repeaters{"Administateur", "Répéteur", "COM900", kNetwork,
                                   kNetworkRepeaters};
    const JournalContext sensors{"Administateur", "Capteur", "COM900", kNetwork, kNetworkRepeaters};
    timespec when{};
    ::clock_gettime(CLOCK_REALTIME, &when);
    when.tv_sec -= 86400;
    const std::pair<int32_t, std::optional<int32_t>> sends[] = {
        {1, 255}, {2, 255}, {3, 255}, {5, 255}, {6, 255}, {7, 254}, {8, std::nullopt}, {9, 255}};
    bool written = true;
    for (const auto& [id, chf] : sends) {
        when.tv_sec += 90;
        const JournalContext& context = id <= kNetworkRepeaters ? repeaters : sensors;
        written = journal.Append(context, SampleSend(id, chf), when) == JOURNAL_OK && written;
    }
    return written;
}

}  // namespace

CPictureBook::CPictureBook(const QString& outputFolder, bool withFrames)
    : folder(outputFolder), withFrames(withFrames), journal(journalFolder.path().toStdString()) {}

bool CPictureBook::RenderAll() {
    const bool made =
        Login() && Setup() && About() && CustomDialog() && Sheet() && NetworkMap() && PlanWalk();
    return made && allSaved;
}

void CPictureBook::WhileShown(const std::function<int()>& modal,
                              const std::function<void(QWidget*)>& inside) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&poll, &inside] {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr || !window->isVisible()) {
            return;
        }
        poll.stop();
        QApplication::processEvents();
        inside(window);
    });
    poll.start();
    modal();
}

bool CPictureBook::Save(QWidget* window, const QString& name) {
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    const bool saved = (withFrames ? GrabWithFrame(window) : window->grab()).save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    allSaved = allSaved && saved;
    return saved;
}

// The window manager frames a window some time after it is shown; a window it does not
// frame is taken as it stands once that time has passed.
QPixmap CPictureBook::GrabWithFrame(QWidget* window) {
    constexpr int kFrameWaitMs = 1500;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kFrameWaitMs &&
           (window->frameGeometry() == window->geometry() || !window->windowHandle() ||
            !window->windowHandle()->isExposed())) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    window->repaint();
    QApplication::processEvents();
    const QRect frame = window->frameGeometry();
    return window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

bool CPictureBook::Login() {
    CLoginDlg dialog;
    WhileShown([&] { return dialog.DoModal(); },
               [&](QWidget*) {
                   Save(&dialog, QStringLiteral("login"));
                   dialog.EndDialog(kCancel);
               });
    return allSaved;
}

// The port list shows one virtual port served by the simulator, and nothing of this
// machine's own ports, so the picture is the same everywhere.
bool CPictureBook::Setup() {
    QTemporaryDir runtime;
    CPortDirectory::Roots roots;
    roots.sysClassTty = runtime.filePath(QStringLiteral("no-sys")).toStdString();
    roots.runtime = runtime.path().toStdString();
    const CPortDirectory ports(roots);
    CSimProcess sim;
    CSimProcess::Options options;
    options.runtimeDir = roots.runtime;
    if (!sim.Start(options)) {
        std::fprintf(stderr, "simulator did not start; the port list stays empty\n");
    }

    CSetupDlg dialog;
    dialog.SetPortDirectory(&ports);
    WhileShown([&] { return dialog.DoModal(); },
               [&](QWidget*) {
                   Save(&dialog, QStringLiteral("setup"));
                   dialog.EndDialog(kCancel);
               });
    return allSaved;
}

bool CPictureBook::About() {
    CAboutDlg dialog;
    WhileShown([&] { return dialog.DoModal(); },
               [&](QWidget*) {
                   Save(&dialog, QStringLiteral("about"));
                   dialog.EndDialog(kCancel);
               });
    return allSaved;
}

bool CPictureBook::CustomDialog() {
    CCustomConfigDlg dialog(journal);
    dialog.isClient = 0;
    WhileShown([&] { return dialog.DoModal(); },
               [&](QWidget*) {
                   // The read-back of a send that the device took as it was sent.
                   dialog.PRT = 4;
                   dialog.StatusText =
                       QString::fromStdString(DeviceToUtf8(DecodeReport(kSampleReport)));
                   dialog.UpdateData(false);
                   ExchangeRecord sent;
                   sent.kind = ExchangeKind::SendConfig;
                   sent.sentConfig = ParameterSet{dialog.ID,  dialog.CHF,
                                                  dialog.P0,  dialog.TYP.toLatin1().toStdString(),
                                                  dialog.PRT, dialog.OFT};
                   sent.report = kSampleReport;
                   VerdictDisplay::Show(dialog.Item<QLabel>(VerdictDisplay::kIdVerdict),
                                        JudgeReadBack(sent));
                   Save(&dialog, QStringLiteral("custom"));
                   dialog.EndDialog(kRetour);
               });
    return allSaved;
}

bool CPictureBook::Sheet() {
    CPageRepe repeaterPage;
    CPageCapteur sensorPage;
    const int32_t repeaterCount = 3;
    QTemporaryDir state;
    const CLastNetworkName lastNetwork(state.filePath(QStringLiteral("reseau")));
    CDefaultSheet opening(repeaterPage, sensorPage,
                          {0, 0, repeaterCount, CSystemClock::Instance(), journal, lastNetwork});
    CMyPropSheet& sheet = opening.Sheet();
    WhileShown([&] { return sheet.DoModal(); },
               [&](QWidget*) {
                   for (int tab = 0; tab < 3; ++tab) {
                       sheet.SetActivePage(tab);
                       QApplication::processEvents();
                       Save(&sheet, QString::fromLatin1(kTabNames[tab]));
                   }
                   sheet.EndDialog(kRetour);
               });
    return allSaved;
}

bool CPictureBook::NetworkMap() {
    QTemporaryDir data;
    const std::string folder = data.filePath(QStringLiteral("zav7305")).toStdString();
    if (!JournalSampleWalk(folder)) {
        std::fprintf(stderr, "could not journal the sample walk\n");
        return false;
    }
    const CLastNetworkName lastNetwork(data.filePath(QStringLiteral("reseau")));
    lastNetwork.Save(QString::fromUtf8(kNetwork));
    CEditorJournal sampleJournal(folder);
    CPageRepe repeaterPage;
    CPageCapteur sensorPage;
    repeaterPage.ID = kNetworkRepeaters;
    CDefaultSheet opening(
        repeaterPage, sensorPage,
        {0, 0, kNetworkRepeaters, CSystemClock::Instance(), sampleJournal, lastNetwork});
    CMyPropSheet& sheet = opening.Sheet();
    WhileShown([&] { return sheet.DoModal(); },
               [&](QWidget*) {
                   // The pointer away from the cells, so none shows as hovered.
                   QCursor::setPos(sheet.screen()->geometry().bottomRight());
                   opening.Network().View()->DeviceCell(7)->click();
                   QApplication::processEvents();
                   Save(&sheet, QStringLiteral("sheet-map"));
                   sheet.EndDialog(kRetour);
               });
    return SaveReportPage(data.path() + QStringLiteral("/zav7305"), QString::fromUtf8(kNetwork)) &&
           allSaved;
}

bool CPictureBook::PlanWalk() {
    QTemporaryDir data;
    const std::string folder = data.filePath(QStringLiteral("zav7305")).toStdString();
    if (!PlanSample::StorePlan(folder) || !PlanSample::JournalMorning(folder)) {
        std::fprintf(stderr, "could not store the sample plan and its walk\n");
        return false;
    }
    const CLastNetworkName lastNetwork(data.filePath(QStringLiteral("reseau")));
    lastNetwork.Save(QString::fromUtf8(PlanSample::kNetwork));
    CEditorJournal sampleJournal(folder);
    CPageRepe repeaterPage;
    CPageCapteur sensorPage;
    CDefaultSheet opening(
        repeaterPage, sensorPage,
        {0, 0, PlanSample::kRepeaters, CSystemClock::Instance(), sampleJournal, lastNetwork});
    CMyPropSheet& sheet = opening.Sheet();
    WhileShown([&] { return sheet.DoModal(); },
               [&](QWidget*) {
                   QCursor::setPos(sheet.screen()->geometry().bottomRight());
                   sheet.SetActivePage(1);
                   opening.Network().GoToNextToDo();
                   QApplication::processEvents();
                   Save(&sheet, QStringLiteral("sheet-plan"));
                   sheet.EndDialog(kRetour);
               });
    return allSaved;
}

// The report's first page, as pdftoppm draws it.
bool CPictureBook::SaveReportPage(const QString& journalPath, const QString& network) {
    QTemporaryDir work;
    const QString pdf = work.filePath(QStringLiteral("rapport.pdf"));
    JournalScan scan = ReadJournal({journalPath.toStdString()}, network.toStdString());
    ReportInput input{network.toStdString(),
                      std::move(scan.entries),
                      std::move(scan.folders),
                      scan.skippedLines,
                      {},
                      QStringLiteral("poste-terrain").toStdString(),
                      std::move(scan.unreadableFolders),
                      std::move(scan.unreadableFiles),
                      std::move(scan.leftAside),
                      ReportSite{{}, {}, {}, "Jeanne Martin"},
                      std::nullopt};
    std::string error;
    if (WriteReport(input, pdf.toStdString(), error) != REPORT_OK) {
        std::fprintf(stderr, "could not write the report: %s\n", error.c_str());
        return false;
    }
    const QString page = folder.filePath(QStringLiteral("report"));
    const int code = QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"),
         QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, page});
    std::fprintf(stderr, "%s %s.png\n", code == 0 ? "wrote" : "could not write (pdftoppm)",
                 qPrintable(page));
    return code == 0;
}
