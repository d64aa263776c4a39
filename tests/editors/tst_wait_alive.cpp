// The custom dialog and the sheet's modem page on a virtual X server and a private
// accessibility bus, a desktop stand-in pinging them and a screen reader reading them, while
// "Lire" waits for a device or "Emettre" pauses before the modem's report: the window
// answers, repaints, counts down and can be read whole, and what the user asks for meanwhile
// is held until the exchange has ended.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstring>

#include <QAccessible>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <string>

#include "CCustomConfigDlg.h"
#include "CDefaultSheet.h"
#include "CDesktopProbe.h"
#include "CFileDescriptor.h"
#include "CSystemClock.h"
#include "EditorTestSupport.h"
#include "EditorTexts.h"
#include "ExchangeTiming.h"
#include "VerdictDisplay.h"

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

// Every text the status box showed, blanks collapsed as the screen reader gives them.
class CStatusTexts : public QObject {
public:
    explicit CStatusTexts(QTextEdit* edit) : edit(edit) {
        edit->viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        const QString text = edit->toPlainText().simplified();
        if (event->type() == QEvent::Paint && !text.isEmpty() && !texts.contains(text)) {
            texts << text;
        }
        return false;
    }
    QTextEdit* edit;
    QStringList texts;
};

// What a screen reader must find in the dialog: the name of every control shown whose name
// does not change during the wait (the status box and the verdict do).
QStringList ControlNames(QWidget* dialog, const QList<QWidget*>& changing) {
    QStringList names;
    QList<QWidget*> widgets = dialog->findChildren<QWidget*>();
    widgets << dialog;
    for (QWidget* widget : widgets) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        const QString name =
            accessible != nullptr ? accessible->text(QAccessible::Name).simplified() : QString();
        if (widget->isVisible() && !changing.contains(widget) && !name.isEmpty()) {
            names << name;
        }
    }
    return names;
}

// Why a read falls short, or empty: it took 1 s or more, missed a name, or no status shown.
QString ReadShortfall(const CDesktopProbe::AccessibleRead& read, const QStringList& names,
                      const QStringList& statusTexts) {
    QStringList got;
    for (const std::string& text : read.texts) {
        got << QString::fromStdString(text);
    }
    const QString at = QString("read at %1 ms: ").arg(read.atMs);
    if (read.tookMs < 0 || read.tookMs >= 1000) {
        return at + QString("took %1 ms").arg(read.tookMs);
    }
    for (const QString& name : names) {
        if (!got.contains(name)) {
            return at + "no " + name;
        }
    }
    const bool statusRead = std::any_of(statusTexts.begin(), statusTexts.end(),
                                        [&](const QString& text) { return got.contains(text); });
    return statusRead ? QString() : at + "no status among " + got.join('|');
}

// The seconds of a countdown (`head` then "N s"), in the order shown; every one must be lower
// than the one before.
bool CountsDown(const QStringList& texts, const QString& head, int& distinct) {
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

// The window whose exchange waits: the custom dialog reading, or the sheet's modem page
// sending P0, whose pause before the modem's report comes before any read.
enum class Window { kCustom, kModem };

constexpr int kModemTab = 2;
constexpr int kRadioP0 = 1005;

// What the test needs of the window it drives, once it is shown.
struct Controls {
    QWidget* window = nullptr;
    QWidget* status = nullptr;
    QLabel* verdict = nullptr;
    QPushButton* retour = nullptr;
    QPushButton* start = nullptr;  // starts the exchange
};

Controls CustomControls(CCustomConfigDlg* d) {
    return {d, d->GetDlgItem(CCustomConfigDlg::kIdStatus),
            d->Item<QLabel>(VerdictDisplay::kIdVerdict),
            d->Item<QPushButton>(CCustomConfigDlg::kIdRetour),
            d->Item<QPushButton>(CCustomConfigDlg::kIdLire)};
}

Controls ModemControls(CMyPropSheet* s, CpageModem& page) {
    if (!s->SetActivePage(kModemTab)) {
        return {};
    }
    QTest::mouseClick(page.Item<QRadioButton>(kRadioP0), Qt::LeftButton);
    return {s, page.GetDlgItem(CSheetPage::kIdStatus),
            page.Item<QLabel>(VerdictDisplay::kIdVerdict), s->GetButton(CMyPropSheet::kIdRetour),
            s->GetButton(CPropertySheet::kIdApply)};
}

// What the window showed and did while the exchange ran.
struct Watched {
    bool endedDuringExchange = false;
    qint64 exchangeMs = 0;  // from the press that started it to its end
    QStringList countdown;
    QStringList names;
    QStringList statusTexts;
};

// Starts the exchange with the desktop pinging, acting at 1 s and reading, until it ends.
void WatchExchange(const Controls& c, CDesktopProbe& desktop, CDesktopProbe::Action action,
                   Watched& seen) {
    QVERIFY(c.window != nullptr && c.start != nullptr && c.retour != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(c.window));
    CShownTexts shown(c.verdict);
    CStatusTexts status(qobject_cast<QTextEdit*>(c.status));
    seen.names = ControlNames(c.window, {c.status, c.verdict});
    const QPoint retour = c.retour->mapTo(c.window, c.retour->rect().center());
    const QRect area(c.status->mapTo(c.window, QPoint(0, 0)), c.status->size());
    desktop.Watch(static_cast<int16_t>(area.x()), static_cast<int16_t>(area.y()),
                  static_cast<uint16_t>(area.width()), static_cast<uint16_t>(area.height()));
    desktop.Start(static_cast<uint32_t>(c.window->winId()), action, 1000, retour.x(), retour.y());
    auto* dialog = qobject_cast<QDialog*>(c.window);
    QVERIFY(dialog != nullptr);
    // Held input acts once the exchange is over, which may be before the press that started
    // it has returned: a window that ends must no longer show the wait's countdown.
    seen.endedDuringExchange = false;
    const QMetaObject::Connection ended = QObject::connect(dialog, &QDialog::finished, [&] {
        const QString shown = c.verdict->text();
        seen.endedDuringExchange = shown.contains(QString::fromUtf8("Réponse attendue")) ||
                                   shown.contains(QString::fromUtf8("Pause avant lecture"));
    });
    QElapsedTimer exchange;
    exchange.start();
    c.start->click();
    seen.exchangeMs = exchange.elapsed();
    QObject::disconnect(ended);
    desktop.Stop();
    seen.countdown = shown.texts;
    seen.statusTexts = status.texts;
}

// A read the wait did not answer is timed to its end all the same, on an idle event loop
// (qWaitFor's sleeps would slow each of its calls).
bool AwaitReads(const CDesktopProbe& desktop, int count) {
    QEventLoop idle;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &idle, [&] {
        if (desktop.ReadsEnded() == count) {
            idle.quit();
        }
    });
    check.start(20);
    QTimer::singleShot(35000, &idle, &QEventLoop::quit);
    idle.exec();
    return desktop.ReadsEnded() == count;
}

}  // namespace

class TestWaitAlive : public QObject {
    Q_OBJECT
private slots:
    void heldUntilTheExchangeEnds_data();
    void heldUntilTheExchangeEnds();
};

void TestWaitAlive::heldUntilTheExchangeEnds_data() {
    QTest::addColumn<int>("window");
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("endCode");
    QTest::addColumn<int>("minCountdown");
    // When a screen reader reads the whole window, in ms after the click that starts the
    // exchange; each read must have ended before `waitMs`, the least the wait lasts.
    QTest::addColumn<QList<int>>("reads");
    QTest::addColumn<int>("waitMs");
    // A control a screen reader presses at 1 s, or none.
    QTest::addColumn<QString>("press");
    // The report waits at 1/n of the device's own (the pause keeps its length): a row that
    // needs no more than a few seconds of a silent device's wait to show what it shows.
    QTest::addColumn<int>("reportShare");
    // The exchange, its box answered, must have ended this soon (0: no bound).
    QTest::addColumn<int>("endsWithinMs");
    const int custom = int(Window::kCustom);
    const int modem = int(Window::kModem);
    const int click = int(CDesktopProbe::Action::kClick);
    const int close = int(CDesktopProbe::Action::kClose);
    // Silent: the failure box takes the held input, which the dialog behind it never sees;
    // "Retour" then ends the dialog. Late: the held input reaches the dialog once it runs again.
    QTest::newRow("silent, click") << custom << QStringList{"--silent"} << click << 255 << 2
                                   << QList<int>{} << 3000 << QString() << 5 << 0;
    QTest::newRow("silent, close") << custom << QStringList{"--silent"} << close << 255 << 2
                                   << QList<int>{} << 3000 << QString() << 5 << 0;
    QTest::newRow("late, click") << custom << QStringList{"--delay", "2500"} << click << 255 << 2
                                 << QList<int>{} << 2500 << QString() << 1 << 0;
    QTest::newRow("late, close") << custom << QStringList{"--delay", "2500"} << close << 2 << 2
                                 << QList<int>{} << 2500 << QString() << 1 << 0;
    // Escape 1 s into a silent device's whole wait ends it at once, as the device's silence
    // would have: the same box, then "Retour"; the key itself neither closes the dialog nor
    // waits behind the exchange.
    QTest::newRow("silent, Escape")
        << custom << QStringList{"--silent"} << int(CDesktopProbe::Action::kEscape) << 255 << 1
        << QList<int>{} << 1000 << QString() << 1 << 2500;
    // The click and the close request go out at 1 s: the reads after it run while they are
    // held. The window's liveness over a whole silent wait is timed on the device's own times
    // once; a close request held over a third of it reads the same.
    QTest::newRow("silent, click, read")
        << custom << QStringList{"--silent"} << click << 255 << 12 << QList<int>{1000, 1500, 4500}
        << 15000 << QString() << 1 << 0;
    QTest::newRow("silent, close, read")
        << custom << QStringList{"--silent"} << close << 255 << 4 << QList<int>{1000, 1500, 3000}
        << 5000 << QString() << 3 << 0;
    // The modem's pause: the report follows at once, and the held input reaches the sheet.
    QTest::newRow("modem pause, click, read")
        << modem << QStringList{} << click << 255 << 3 << QList<int>{1000, 1500, 2500} << 4000
        << QString() << 1 << 0;
    QTest::newRow("modem pause, close, read")
        << modem << QStringList{} << close << 2 << 3 << QList<int>{1000, 1500, 2500} << 4000
        << QString() << 1 << 0;
    // A press asked through the accessibility bus during the exchange is refused, as the
    // control is shown unavailable: it must not act behind the failure box either, where it
    // would send again inside the box.
    QTest::newRow("modem pause, silent, accessible press")
        << modem << QStringList{"--silent"} << int(CDesktopProbe::Action::kNone) << 255 << 3
        << QList<int>{} << 4000 << QString::fromUtf8(EditorTexts::kEmettre) << 5 << 0;
}

void TestWaitAlive::heldUntilTheExchangeEnds() {
    QFETCH(int, window);
    QFETCH(QStringList, simArgs);
    QFETCH(int, action);
    QFETCH(int, endCode);
    QFETCH(int, minCountdown);
    QFETCH(QList<int>, reads);
    QFETCH(int, waitMs);
    QFETCH(QString, press);
    QFETCH(int, reportShare);
    QFETCH(int, endsWithinMs);
    const ExchangeTiming timing{kConfigDeadlineMs / uint32_t(reportShare),
                                kModemDeadlineMs / uint32_t(reportShare), kModemPauseMs,
                                kByteTimeoutMs};
    const bool onModem = Window(window) == Window::kModem;
    CSimProcess sim;
    std::vector<std::string> args;
    for (const QString& arg : simArgs) {
        args.push_back(arg.toStdString());
    }
    QVERIFY(StartSim(sim, onModem ? "modem" : "repeater", args));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    dlg.SetTiming(timing);
    // The sheet on the desktop's clock: its pause is a real one.
    CPageRepe repe;
    CPageCapteur capteur;
    CLastNetworkName lastNetwork;
    CDefaultSheet sheet(
        repe, capteur,
        {sim.PortNumber(), 0, 3, CSystemClock::Instance(), TestJournal(), lastNetwork, timing});
    CDesktopProbe desktop;
    QVERIFY(desktop.Connected());
    desktop.ReadAccessibleAt(getpid(), std::vector<int>(reads.begin(), reads.end()));
    if (!press.isEmpty()) {
        desktop.PressAccessibleAt(getpid(), 1000, press.toStdString());
    }
    const auto act = CDesktopProbe::Action(action);
    Watched seen;
    CEditorDriver driver;
    if (onModem) {
        driver.Act<CMyPropSheet>([&](CMyPropSheet* s) {
            WatchExchange(ModemControls(s, sheet.ModemPage()), desktop, act, seen);
        });
    } else {
        driver.Act<CCustomConfigDlg>(
            [&](CCustomConfigDlg* d) { WatchExchange(CustomControls(d), desktop, act, seen); });
    }
    if (simArgs.contains("--silent") && onModem) {
        driver.Answer(QMessageBox::Ok).Act<CMyPropSheet>(Retour);
    } else if (simArgs.contains("--silent")) {
        driver.Answer(QMessageBox::Ok).Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
            d->Item<QPushButton>(CCustomConfigDlg::kIdRetour)->click();
        });
    }
    QCOMPARE(RunDriven(
                 driver, [&] { return onModem ? sheet.DoModal() : dlg.DoModal(); }, 60),
             endCode);
    QVERIFY(AwaitReads(desktop, int(reads.size()) + (press.isEmpty() ? 0 : 1)));
    desktop.JoinReads();
    QVERIFY(driver.AllDone());
    QVERIFY(!seen.endedDuringExchange);
    QVERIFY2(endsWithinMs == 0 || seen.exchangeMs < endsWithinMs,
             qPrintable(QString("the exchange took %1 ms").arg(seen.exchangeMs)));
    QVERIFY2(desktop.Pings() >= 5, qPrintable(QString::number(desktop.Pings())));
    QVERIFY2(desktop.SlowestAnswer().count() < 500,
             qPrintable(QString::number(desktop.SlowestAnswer().count())));
    QVERIFY(desktop.WatchedHasContent());
    // The status shown stays the same as long as the wait (a pause's status changes at its end).
    QVERIFY2(desktop.Redrawn() >= std::min(desktop.Pings(), waitMs / 200) - 3,
             qPrintable(QString("%1 of %2").arg(desktop.Redrawn()).arg(desktop.Pings())));
    const QString head =
        QString::fromUtf8(onModem ? "Pause avant lecture : " : "Réponse attendue : ");
    int distinct = 0;
    QVERIFY2(CountsDown(seen.countdown, head, distinct), qPrintable(seen.countdown.join('|')));
    QVERIFY2(distinct >= minCountdown, qPrintable(seen.countdown.join('|')));
    const QLabel* verdict = onModem ? sheet.ModemPage().Item<QLabel>(VerdictDisplay::kIdVerdict)
                                    : dlg.Item<QLabel>(VerdictDisplay::kIdVerdict);
    QVERIFY(!verdict->text().contains("attendue") && !verdict->text().contains("Pause"));
    QVERIFY(seen.names.size() >= 5);
    if (!press.isEmpty()) {
        const std::vector<std::string>& said = desktop.Reads().back().texts;
        QVERIFY(std::find(said.begin(), said.end(), "refused " + press.toStdString()) !=
                said.end());
        QCOMPARE(driver.Boxes().size(), size_t{1});
        QCOMPARE(sim.ReceivedLines(), std::vector<std::string>({"p 015", "v"}));
        return;
    }
    QCOMPARE(int(desktop.Reads().size()), int(reads.size()));
    for (const CDesktopProbe::AccessibleRead& read : desktop.Reads()) {
        qInfo("read at %d ms: %d ms, %d texts", read.atMs, read.tookMs, int(read.texts.size()));
        const QString shortfall = ReadShortfall(read, seen.names, seen.statusTexts);
        QVERIFY2(shortfall.isEmpty(), qPrintable(shortfall));
        QVERIFY2(read.atMs + read.tookMs < waitMs, "the read ended after the wait");
    }
}

namespace {

// Starts a program of the test's desktop that ends with the test, however the test ends, and
// never holds the test's own output open: a test that aborts must not leave its runner
// waiting on a pipe a stray server still holds. Their own output goes to `desktop.log` in
// the working folder. `keep` is a descriptor the program writes its address to.
pid_t SpawnTied(const char* const argv[], int keep) {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
        _exit(127);
    }
    const int quiet = open("/dev/null", O_RDWR);
    const int log = open("desktop.log", O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    dup2(quiet, STDIN_FILENO);
    dup2(quiet, STDOUT_FILENO);
    dup2(log >= 0 ? log : quiet, STDERR_FILENO);
    for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) {
        if (fd != keep) {
            close(fd);
        }
    }
    execvp(argv[0], const_cast<char**>(argv));
    _exit(127);
}

// Reads what a program writes to `fd` up to its first newline; empty when it wrote none.
std::string ReadLine(int fd) {
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

void Terminate(pid_t& pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}

// A virtual X server of this test's own, on the display number it picks itself, kept only
// once a client could connect to it.
class CVirtualScreen {
public:
    bool Start() {
        // One server at a time picks its number: one that looks over the numbers while
        // another starts may take a socket of the other's as its own, and close it again.
        const CFileDescriptor lock(
            open("/tmp/zav7305-virtual-screen.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666));
        if (lock.IsValid()) {
            flock(lock.Get(), LOCK_EX);
        }
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::string display = Spawn();
            if (!display.empty() && Answers(display)) {
                setenv("DISPLAY", display.c_str(), 1);
                setenv("QT_QPA_PLATFORM", "xcb", 1);
                return true;
            }
            std::fprintf(stderr, "virtual screen %s: no connection (see desktop.log)\n",
                         display.c_str());
            Terminate(pid);
        }
        return false;
    }
    ~CVirtualScreen() { Terminate(pid); }

private:
    std::string Spawn() {
        int fds[2];
        if (pipe(fds) != 0) {
            return {};
        }
        const std::string fd = std::to_string(fds[1]);
        // Without -noreset the server resets when its last client leaves (this check, the
        // accessibility launcher publishing its bus), and a client connecting meanwhile is
        // refused: the test's own window then fails to open.
        const char* argv[] = {"Xvfb", "-displayfd",  fd.c_str(),  "-noreset", "-screen",
                              "0",    "1024x768x24", "-nolisten", "tcp",      nullptr};
        pid = SpawnTied(argv, fds[1]);
        close(fds[1]);
        const std::string number = pid > 0 ? ReadLine(fds[0]) : std::string();
        close(fds[0]);
        return number.empty() ? number : ":" + number;
    }
    static bool Answers(const std::string& display) {
        xcb_connection_t* conn = xcb_connect(display.c_str(), nullptr);
        const bool answers = xcb_connection_has_error(conn) == 0;
        xcb_disconnect(conn);
        return answers;
    }
    pid_t pid = -1;
};

// A session bus of this test's own with the accessibility bus on it, so that a screen reader
// here meets this test's windows alone.
class CAccessibilityBus {
public:
    bool Start() {
        int fds[2];
        if (pipe(fds) != 0) {
            return false;
        }
        const std::string print = "--print-address=" + std::to_string(fds[1]);
        const char* bus[] = {"dbus-daemon", "--session", "--nofork", print.c_str(), nullptr};
        busPid = SpawnTied(bus, fds[1]);
        close(fds[1]);
        const std::string address = busPid > 0 ? ReadLine(fds[0]) : std::string();
        close(fds[0]);
        if (address.empty()) {
            return false;
        }
        setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        const char* launcher[] = {kLauncher, "--launch-immediately", nullptr};
        launcherPid = SpawnTied(launcher, -1);
        if (launcherPid <= 0) {
            return false;
        }
        setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
        return true;
    }
    ~CAccessibilityBus() {
        Terminate(launcherPid);
        Terminate(busPid);
    }

private:
    static constexpr char kLauncher[] = "/usr/libexec/at-spi-bus-launcher";
    pid_t busPid = -1;
    pid_t launcherPid = -1;
};

}  // namespace

// Listing the rows (as the test runner does to run them one by one) needs no desktop.
bool OnlyLists(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-datatags") == 0 || std::strcmp(argv[i], "-functions") == 0) {
            return true;
        }
    }
    return false;
}

int main(int argc, char** argv) {
    CVirtualScreen screen;
    CAccessibilityBus accessibility;
    if (!OnlyLists(argc, argv) &&
        (!screen.Start() || !accessibility.Start() || !PrepareEditorsTest())) {
        return 2;
    }
    // A screen reader that died must fail its read, not end the test.
    signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    TestWaitAlive test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wait_alive.moc"
