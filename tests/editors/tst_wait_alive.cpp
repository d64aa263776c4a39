// The custom dialog on a virtual X server, a desktop stand-in pinging it, while "Lire" waits
// for a device: the window answers, repaints and counts down, and what the user asks for
// meanwhile is held until the exchange has ended.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>

#include "CCustomConfigDlg.h"
#include "CDesktopProbe.h"
#include "EditorTestSupport.h"
#include "VerdictDisplay.h"

extern char** environ;

namespace {

// Every text the verdict control showed, in order, each once.
class CShownTexts : public QObject {
public:
    explicit CShownTexts(QLabel* label) : label(label) { label->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && (texts.isEmpty() || texts.last() != label->text())) {
            texts << label->text();
        }
        return false;
    }
    QLabel* label;
    QStringList texts;
};

// The seconds of "Réponse attendue : N s", in the order shown; every one must be lower than
// the one before.
bool CountsDown(const QStringList& texts, int& distinct) {
    const QString head = QString::fromUtf8("Réponse attendue : ");
    int last = 1000;
    distinct = 0;
    for (const QString& text : texts) {
        if (!text.startsWith(head)) {
            continue;
        }
        const int seconds = text.mid(head.size()).section(' ', 0, 0).toInt();
        if (seconds >= last) {
            return false;
        }
        last = seconds;
        ++distinct;
    }
    return true;
}

}  // namespace

class TestWaitAlive : public QObject {
    Q_OBJECT
private slots:
    void heldUntilTheExchangeEnds_data();
    void heldUntilTheExchangeEnds();
};

void TestWaitAlive::heldUntilTheExchangeEnds_data() {
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("endCode");
    QTest::addColumn<int>("minCountdown");
    // Silent: the failure box takes the held input, which the dialog behind it never sees;
    // "Retour" then ends the dialog. Late: the held input reaches the dialog once it runs again.
    QTest::newRow("silent, click")
        << QStringList{"--silent"} << int(CDesktopProbe::Action::kClick) << 255 << 12;
    QTest::newRow("silent, close")
        << QStringList{"--silent"} << int(CDesktopProbe::Action::kClose) << 255 << 12;
    QTest::newRow("late, click") << QStringList{"--delay", "2500"}
                                 << int(CDesktopProbe::Action::kClick) << 255 << 2;
    QTest::newRow("late, close") << QStringList{"--delay", "2500"}
                                 << int(CDesktopProbe::Action::kClose) << 2 << 2;
}

void TestWaitAlive::heldUntilTheExchangeEnds() {
    QFETCH(QStringList, simArgs);
    QFETCH(int, action);
    QFETCH(int, endCode);
    QFETCH(int, minCountdown);
    CSimProcess sim;
    std::vector<std::string> args;
    for (const QString& arg : simArgs) {
        args.push_back(arg.toStdString());
    }
    QVERIFY(StartSim(sim, "repeater", args));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    CDesktopProbe desktop;
    QVERIFY(desktop.Connected());
    bool endedDuringExchange = true;
    QStringList countdown;
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([&](CCustomConfigDlg* d) {
        QVERIFY(QTest::qWaitForWindowExposed(d));
        CShownTexts shown(d->Item<QLabel>(VerdictDisplay::kIdVerdict));
        const QPoint retour = d->GetDlgItem(CCustomConfigDlg::kIdRetour)->geometry().center();
        const QRect status = d->GetDlgItem(CCustomConfigDlg::kIdStatus)->geometry();
        desktop.Watch(static_cast<int16_t>(status.x()), static_cast<int16_t>(status.y()),
                      static_cast<uint16_t>(status.width()),
                      static_cast<uint16_t>(status.height()));
        desktop.Start(static_cast<uint32_t>(d->winId()), CDesktopProbe::Action(action), 1000,
                      retour.x(), retour.y());
        d->Item<QPushButton>(CCustomConfigDlg::kIdLire)->click();
        desktop.Stop();
        endedDuringExchange = !d->isVisible() || d->result() != 0;
        countdown = shown.texts;
    });
    if (simArgs.contains("--silent")) {
        driver.Answer(QMessageBox::Ok).Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
            d->Item<QPushButton>(CCustomConfigDlg::kIdRetour)->click();
        });
    }
    QCOMPARE(RunDriven(
                 driver, [&dlg] { return dlg.DoModal(); }, 60),
             endCode);
    QVERIFY(driver.AllDone());
    QVERIFY(!endedDuringExchange);
    QVERIFY2(desktop.Pings() >= 5, qPrintable(QString::number(desktop.Pings())));
    QVERIFY2(desktop.SlowestAnswer().count() < 500,
             qPrintable(QString::number(desktop.SlowestAnswer().count())));
    QVERIFY(desktop.WatchedHasContent());
    QVERIFY2(desktop.Redrawn() >= desktop.Pings() - 3,
             qPrintable(QString::number(desktop.Redrawn())));
    int distinct = 0;
    QVERIFY2(CountsDown(countdown, distinct), qPrintable(countdown.join('|')));
    QVERIFY2(distinct >= minCountdown, qPrintable(countdown.join('|')));
    QVERIFY(!dlg.Item<QLabel>(VerdictDisplay::kIdVerdict)->text().contains("attendue"));
}

namespace {

// A virtual X server of this test's own, on the display number it picks itself.
class CVirtualScreen {
public:
    bool Start() {
        int fds[2];
        if (pipe(fds) != 0) {
            return false;
        }
        const std::string fd = std::to_string(fds[1]);
        const char* argv[] = {"Xvfb",        "-displayfd", fd.c_str(), "-screen", "0",
                              "1024x768x24", "-nolisten",  "tcp",      nullptr};
        const int spawned =
            posix_spawnp(&pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ);
        close(fds[1]);
        std::string display;
        char c = 0;
        while (spawned == 0 && read(fds[0], &c, 1) == 1 && c != '\n') {
            display += c;
        }
        close(fds[0]);
        if (spawned != 0 || display.empty()) {
            return false;
        }
        setenv("DISPLAY", (":" + display).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        return true;
    }
    ~CVirtualScreen() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

private:
    pid_t pid = -1;
};

}  // namespace

int main(int argc, char** argv) {
    CVirtualScreen screen;
    if (!screen.Start() || !PrepareEditorsTest()) {
        return 2;
    }
    QApplication app(argc, argv);
    TestWaitAlive test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wait_alive.moc"
