#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>

#include "CBeepCounter.h"
#include "CCustomConfigDlg.h"
#include "CUrlCatcher.h"
#include "EditorTestSupport.h"
#include "JournalFormat.h"
#include "PortFailureTexts.h"
#include "ProtocolTexts.h"
#include "VerdictDisplay.h"
#include "WaitCancelButton.h"

namespace {

constexpr int kHelp = 57670;

const QString kOutOfRange = QStringLiteral("Tapez un nombre entier compris entre 0 et 255.");
const QString kSendFailure = QString::fromUtf8("Echec d'émission de la configuration");

QLineEdit* Edit(CCustomConfigDlg* dlg, int id) {
    return dlg->Item<QLineEdit>(id);
}

void Click(CCustomConfigDlg* dlg, int id) {
    dlg->Item<QPushButton>(id)->click();
}

int RunDialog(CModalDriver& driver, CCustomConfigDlg& dlg) {
    return RunDriven(driver, [&dlg]() { return dlg.DoModal(); });
}

// Another program with the port open and locked, as a terminal program or a modem manager
// keeps it: a child process under the name given, until the object goes.
class CPortHolderProcess {
public:
    CPortHolderProcess(const std::string& device, const char* name) {
        int ready[2];
        if (pipe(ready) != 0 || pipe(release) != 0) {
            return;
        }
        pid = fork();
        if (pid == 0) {
            // Its own copy of the release end would keep it waiting for good.
            close(release[1]);
            const int fd = open(device.c_str(), O_RDWR | O_NOCTTY);
            prctl(PR_SET_NAME, name);
            const char ok = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? '1' : '0';
            (void)!write(ready[1], &ok, 1);
            char byte = 0;
            (void)!read(release[0], &byte, 1);
            _exit(0);
        }
        char ok = '0';
        held = pid > 0 && read(ready[0], &ok, 1) == 1 && ok == '1';
        close(ready[0]);
        close(ready[1]);
        close(release[0]);
    }
    ~CPortHolderProcess() {
        close(release[1]);
        if (pid > 0) {
            waitpid(pid, nullptr, 0);
        }
    }
    bool Held() const { return held; }
    pid_t Pid() const { return pid; }

private:
    int release[2] = {-1, -1};
    pid_t pid = -1;
    bool held = false;
};

// Emettre on the port, answering the one box that comes; the box as the driver saw it.
SeenBox SendOnce(int32_t portNumber) {
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = portNumber;
    CEditorDriver driver;
    driver
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdEmettre); })
        .Answer(QMessageBox::Ok)
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdRetour); });
    RunDialog(driver, dlg);
    return driver.Boxes().empty() ? SeenBox{} : driver.Boxes()[0];
}

void ExpectSendFailureBox(const SeenBox& box) {
    QCOMPARE(box.text, kSendFailure);
    QCOMPARE(box.caption, QStringLiteral("Zav7305"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
const char* const kChildPortVariable = "ZAV_TEST_REFUSED_PORT";

}  // namespace

class TestCustomConfigDlg : public QObject {
    Q_OBJECT
private slots:
    void endedWaitIsASilentDevice_data();
    void endedWaitIsASilentDevice();
    void onePressOneExchange_data();
    void onePressOneExchange();
    void opensWithInitialValuesAndFocusOnHelp();
    void endCodes_data();
    void endCodes();
    void keystrokeValidation_data();
    void keystrokeValidation();
    void firstFailureStopsTheExchange();
    void clientMayChangeOnlyTheId();
    void emettreSendsTheFrameAndShowsTheReport_data();
    void emettreSendsTheFrameAndShowsTheReport();
    void emettreWithoutPortKeepsTheProgressText();
    void emptyTypeSendsNothingTruncated();
    void lireShowsTheReportAndLeavesTheFields();
    void lireOnASilentDeviceFailsAtTheDeadline();
    void helpButtonIssuesTheHelpCommand();
    void portHeldByAnotherProgramIsNamed();
    void portRefusedToThisAccountSaysHowToJoinDialout();
    void unplugMidReplyIsToldAndTheToolGoesOn();
    void verdictBesideTheStatus_data();
    void verdictBesideTheStatus();
    void journalThatCannotBeWrittenIsToldOnce();
};

void TestCustomConfigDlg::opensWithInitialValuesAndFocusOnHelp() {
    // Whatever an earlier opening typed, a new dialog starts from the initial values.
    {
        CCustomConfigDlg earlier(TestJournal());
        CEditorDriver driver;
        driver.Act<CCustomConfigDlg>([](CCustomConfigDlg* dlg) {
            TypeInto(Edit(dlg, kId), "77");
            Click(dlg, CCustomConfigDlg::kIdRetour);
        });
        QCOMPARE(RunDialog(driver, earlier), 255);
    }
    CCustomConfigDlg dlg(TestJournal());
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
        const QStringList shown = {TextOf(d->GetDlgItem(kId)),  TextOf(d->GetDlgItem(kChf)),
                                   TextOf(d->GetDlgItem(kOft)), TextOf(d->GetDlgItem(kP0)),
                                   TextOf(d->GetDlgItem(kPrt)), TextOf(d->GetDlgItem(kTyp))};
        QCOMPARE(shown, QStringList({"1", "255", "100", "60", "0", "3"}));
        QCOMPARE(TextOf(d->GetDlgItem(CCustomConfigDlg::kIdStatus)),
                 QStringLiteral("Pas de Configuration"));
        QCOMPARE(d->focusWidget(), d->GetDlgItem(kHelp));
        QCOMPARE(d->windowTitle(), QString::fromUtf8("Zav7305 : Configuration personnalisée "));
        QCOMPARE(d->windowType(), Qt::Window);  // not a transient dialog: it has a task-bar button
        QVERIFY(!d->windowIcon().isNull());
        QVERIFY(d->Item<QPushButton>(CCustomConfigDlg::kIdEmettre)->isDefault());
        Click(d, CCustomConfigDlg::kIdRetour);
    });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
}

void TestCustomConfigDlg::endCodes_data() {
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("code");
    QTest::newRow("Retour") << 0 << 255;
    QTest::newRow("Quitter") << 1 << 2;
    QTest::newRow("Escape in a field") << 2 << 2;
    QTest::newRow("close box") << 3 << 2;
}

void TestCustomConfigDlg::endCodes() {
    QFETCH(int, how);
    QFETCH(int, code);
    CCustomConfigDlg dlg(TestJournal());
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([how](CCustomConfigDlg* d) {
        switch (how) {
            case 0:
                Click(d, CCustomConfigDlg::kIdRetour);
                break;
            case 1:
                Click(d, CCustomConfigDlg::kIdQuitter);
                break;
            case 2:
                PressKey(Edit(d, kChf), Qt::Key_Escape);
                break;
            default:
                d->close();
                break;
        }
    });
    QCOMPARE(RunDialog(driver, dlg), code);
    QVERIFY(driver.AllDone());
}

void TestCustomConfigDlg::keystrokeValidation_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("member");
    QTest::newRow("letter in ID") << kId << "a" << kNotInteger << 1;
    QTest::newRow("ID emptied") << kId << "" << kNotInteger << 1;
    QTest::newRow("256 in ID keeps 25") << kId << "256" << kOutOfRange << 25;
    QTest::newRow("256 in P0 keeps 25") << kP0 << "256" << kOutOfRange << 25;
    QTest::newRow("255 is in range") << kChf << "255" << QString() << 255;
}

void TestCustomConfigDlg::keystrokeValidation() {
    QFETCH(int, field);
    QFETCH(QString, keys);
    QFETCH(QString, message);
    QFETCH(int, member);
    CCustomConfigDlg dlg(TestJournal());
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([&](CCustomConfigDlg* d) {
        TypeInto(Edit(d, field), keys);
        if (!message.isEmpty()) {
            QCOMPARE(d->focusWidget(), d->GetDlgItem(field));
            QCOMPARE(Edit(d, field)->selectedText(), Edit(d, field)->text());
        }
        Click(d, CCustomConfigDlg::kIdRetour);
    });
    if (!message.isEmpty()) {
        driver.Answer(QMessageBox::Ok);
    }
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), message.isEmpty() ? size_t{0} : size_t{1});
    if (!message.isEmpty()) {
        QCOMPARE(driver.Boxes()[0].text, message);
        QCOMPARE(driver.Boxes()[0].caption, QStringLiteral("Zav7305"));
        QCOMPARE(driver.Boxes()[0].icon, QMessageBox::Warning);
    }
    const int32_t values[] = {dlg.ID, dlg.CHF, dlg.P0, dlg.PRT, dlg.OFT};
    const int fields[] = {kId, kChf, kP0, kPrt, kOft};
    for (size_t i = 0; i < std::size(fields); ++i) {
        if (fields[i] == field) {
            QCOMPARE(values[i], member);
        }
    }
}

void TestCustomConfigDlg::firstFailureStopsTheExchange() {
    CCustomConfigDlg dlg(TestJournal());
    CEditorDriver driver;
    driver
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
            TypeInto(Edit(d, kId), "");
            TypeInto(Edit(d, kChf), "7");
            QCOMPARE(d->focusWidget(), d->GetDlgItem(kId));
            QCOMPARE(d->CHF, 255);
            TypeInto(Edit(d, kId), "5");
            Click(d, CCustomConfigDlg::kIdRetour);
        })
        .Answer(QMessageBox::Ok)
        .Answer(QMessageBox::Ok);
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 1), kNotInteger);
    QCOMPARE(dlg.ID, 5);
    QCOMPARE(dlg.CHF, 7);
}

void TestCustomConfigDlg::clientMayChangeOnlyTheId() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CCustomConfigDlg dlg(TestJournal());
    dlg.isClient = 1;
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, 1000);
    dlg.SetClock(&clock);
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
        for (int id : {kChf, kOft, kTyp, kPrt, kP0}) {
            QVERIFY2(!d->GetDlgItem(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        QVERIFY(d->GetDlgItem(kId)->isEnabled());
        for (int id : {CCustomConfigDlg::kIdEmettre, CCustomConfigDlg::kIdLire,
                       CCustomConfigDlg::kIdQuitter, CCustomConfigDlg::kIdRetour, kHelp}) {
            QVERIFY(d->GetDlgItem(id)->isEnabled());
        }
        TypeInto(Edit(d, kId), "42");
        Click(d, CCustomConfigDlg::kIdEmettre);
        Click(d, CCustomConfigDlg::kIdRetour);
    });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(sim.ReceivedLines(), std::vector<std::string>({"u042255603000100", "u"}));
    QVERIFY(LastJournalLine().contains(
        QString::fromUtf8("\"Client\",\"Configuration personnalisée\",\"COM%1\"")
            .arg(sim.PortNumber())));
}

void TestCustomConfigDlg::emettreSendsTheFrameAndShowsTheReport_data() {
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("Emettre button") << false;
    QTest::newRow("Enter in a field") << true;
}

void TestCustomConfigDlg::emettreSendsTheFrameAndShowsTheReport() {
    QFETCH(bool, byEnter);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, 1000);
    dlg.SetClock(&clock);
    CBeepCounter beeps;
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([byEnter](CCustomConfigDlg* d) {
        TypeInto(Edit(d, kId), "5");
        TypeInto(Edit(d, kChf), "12");
        TypeInto(Edit(d, kP0), "7");
        TypeInto(Edit(d, kTyp), QString::fromUtf8("é"));
        TypeInto(Edit(d, kPrt), "3");
        if (byEnter) {
            PressKey(Edit(d, kPrt), Qt::Key_Return);
        } else {
            Click(d, CCustomConfigDlg::kIdEmettre);
        }
        QVERIFY(TextOf(d->GetDlgItem(CCustomConfigDlg::kIdStatus)).contains("ID = 005"));
        Click(d, CCustomConfigDlg::kIdRetour);
    });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    // TYP goes out as one Latin-1 byte, so the later fields keep their places.
    QCOMPARE(sim.ReceivedLines(), std::vector<std::string>({"u00501207\xe9"
                                                            "003100",
                                                            "u"}));
    QCOMPARE(beeps.Count(), 1u);
    QVERIFY(dlg.StatusText.startsWith("TM7305rx\r\n"));
    QVERIFY(dlg.StatusText.endsWith(QString::fromUtf8(
        "ID = 005\r\nCHF= 012\r\nOFT= 100\r\nP0 = 007\r\nPRT= 003\r\nTYP= é00\r\n")));
}

void TestCustomConfigDlg::emettreWithoutPortKeepsTheProgressText() {
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = 999;  // nothing is announced in this test's runtime folder
    CEditorDriver driver;
    driver
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdEmettre); })
        .Answer(QMessageBox::Ok)
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
            QCOMPARE(d->StatusText, QStringLiteral("\r\n Emission en cours ..."));
            Click(d, CCustomConfigDlg::kIdQuitter);
        });
    QCOMPARE(RunDialog(driver, dlg), 2);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{1});
    QCOMPARE(BoxText(driver, 0), kSendFailure);
    QCOMPARE(driver.Boxes()[0].caption, QStringLiteral("Zav7305"));
    // No device answers to that number: the adapter is gone.
    QCOMPARE(driver.Boxes()[0].informative, QString::fromUtf8(kCauseGone));
    QCOMPARE(driver.Boxes()[0].detailed, QString::fromUtf8(std::strerror(ENOENT)));
}

void TestCustomConfigDlg::emptyTypeSendsNothingTruncated() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, 1000);
    dlg.SetClock(&clock);
    CEditorDriver driver;
    driver
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
            TypeInto(Edit(d, kTyp), "");
            QCOMPARE(d->TYP, QString());
            Click(d, CCustomConfigDlg::kIdEmettre);
        })
        .Answer(QMessageBox::Ok)
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
            TypeInto(Edit(d, kTyp), "B");
            Click(d, CCustomConfigDlg::kIdEmettre);
            Click(d, CCustomConfigDlg::kIdRetour);
        });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), kSendFailure);
    // The refused frame never reached the line: the device saw only the second send.
    QCOMPARE(sim.ReceivedLines(), std::vector<std::string>({"u00125560B000100", "u"}));
}

void TestCustomConfigDlg::lireShowsTheReportAndLeavesTheFields() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "sensor"));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, 1000);
    dlg.SetClock(&clock);
    CBeepCounter beeps;
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
        TypeInto(Edit(d, kId), "9");
        Click(d, CCustomConfigDlg::kIdLire);
        QCOMPARE(TextOf(d->GetDlgItem(kId)), QStringLiteral("9"));
        QCOMPARE(TextOf(d->GetDlgItem(kChf)), QStringLiteral("255"));
        Click(d, CCustomConfigDlg::kIdRetour);
    });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(sim.ReceivedLines(), std::vector<std::string>({"u"}));
    QCOMPARE(beeps.Count(), 0u);
    QVERIFY(dlg.StatusText.startsWith("LC7305rx\r\n"));
    QCOMPARE(dlg.StatusText.count("\r\n"), 9);
    QCOMPARE(dlg.ID, 9);
}

void TestCustomConfigDlg::lireOnASilentDeviceFailsAtTheDeadline() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", {"--silent"}));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, 16000);  // the deadline passes after the first attempt
    dlg.SetClock(&clock);
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdLire); })
        .Answer(QMessageBox::Ok)
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdRetour); });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QStringLiteral("Echec de lecture de la configuration."));
    QCOMPARE(dlg.StatusText, QString::fromUtf8("\r\n Configuration non reçue"));
    // Silence is no port failure: the box is the one it always was.
    QCOMPARE(driver.Boxes()[0].informative, QString());
    QCOMPARE(driver.Boxes()[0].detailed, QString());
}

void TestCustomConfigDlg::helpButtonIssuesTheHelpCommand() {
    // From the build tree the guide is the source tree's; the dialog's page is opened.
    CUrlCatcher browser;
    CCustomConfigDlg dlg(TestJournal());
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, kHelp); })
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdRetour); });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(browser.Pages(), QStringList{"personnalisee"});
    QVERIFY(QFileInfo(browser.Urls().at(0).toLocalFile()).isFile());
}

void TestCustomConfigDlg::portHeldByAnotherProgramIsNamed() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CPortHolderProcess holder(sim.PtyPath(), "ModemManager");
    QVERIFY(holder.Held());
    const SeenBox box = SendOnce(sim.PortNumber());
    ExpectSendFailureBox(box);
    QVERIFY2(box.informative.startsWith(
                 QString::fromUtf8("Le port série est déjà utilisé par un autre programme (")),
             qPrintable(box.informative));
    QVERIFY2(
        box.informative.contains(QStringLiteral("ModemManager, processus %1").arg(holder.Pid())),
        qPrintable(box.informative));
    QCOMPARE(box.detailed, QString::fromUtf8(std::strerror(EWOULDBLOCK)));
    QVERIFY(sim.ReceivedBytes().empty());
}

// Run as root (the test machines), the check itself runs in this program started again as an
// account outside the tty's group; run as such an account, it runs here.
void TestCustomConfigDlg::portRefusedToThisAccountSaysHowToJoinDialout() {
    if (qEnvironmentVariableIsSet(kChildPortVariable)) {
        const SeenBox box = SendOnce(qEnvironmentVariableIntValue(kChildPortVariable));
        ExpectSendFailureBox(box);
        QCOMPARE(box.informative, QString::fromUtf8(kCausePermission));
        QCOMPARE(box.detailed, QString::fromUtf8(std::strerror(EACCES)));
        return;
    }
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    QCOMPARE(chmod(sim.PtyPath().c_str(), 0), 0);
    if (geteuid() != 0) {
        qputenv(kChildPortVariable, QByteArray::number(sim.PortNumber()));
        portRefusedToThisAccountSaysHowToJoinDialout();
        qunsetenv(kChildPortVariable);
        return;
    }
    // The other account's own runtime folder, announcing the same pseudo-terminal.
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString runtime = home.filePath(QStringLiteral("run"));
    QVERIFY(QDir().mkpath(runtime + QStringLiteral("/zav7305")));
    const QString link = runtime + QStringLiteral("/zav7305/COM%1").arg(sim.PortNumber());
    QVERIFY(QFile::link(QString::fromStdString(sim.PtyPath()), link));
    // A copy of this program in that home: the build tree may lie where the account cannot go.
    const QString program = home.filePath(QStringLiteral("tst_custom_config_dlg"));
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
    for (const QString& path :
         {home.path(), runtime, runtime + QStringLiteral("/zav7305"), program}) {
        QCOMPARE(chown(path.toLocal8Bit().constData(), kNobody, kNoGroup), 0);
        QCOMPARE(chmod(path.toLocal8Bit().constData(), 0700), 0);
    }
    QCOMPARE(lchown(link.toLocal8Bit().constData(), kNobody, kNoGroup), 0);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildPortVariable), QString::number(sim.PortNumber()));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("HOME"), home.path());
    // Its own journal folder: the test's is not the other account's to write.
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(home.path());
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setChildProcessModifier([] {
        if (setgroups(0, nullptr) != 0 || setgid(kNoGroup) != 0 || setuid(kNobody) != 0) {
            _exit(97);
        }
    });
    child.start(
        program,
        {QStringLiteral("TestCustomConfigDlg::portRefusedToThisAccountSaysHowToJoinDialout")});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             child.readAll().constData());
    QVERIFY(sim.ReceivedBytes().empty());
}

void TestCustomConfigDlg::unplugMidReplyIsToldAndTheToolGoesOn() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", {"--hangup-mid"}));
    const int32_t port = sim.PortNumber();
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = port;
    CFakeClock clock(0, 1000);
    dlg.SetClock(&clock);
    CSimProcess replugged;
    CEditorDriver driver;
    driver
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdEmettre); })
        .Answer(QMessageBox::Ok)
        .Act<CCustomConfigDlg>([&](CCustomConfigDlg* d) {
            // What arrived before the hang-up is shown, as the routine always did.
            QVERIFY(d->StatusText.startsWith(QStringLiteral("TM7305rx\r\n")));
            QVERIFY(d->StatusText.endsWith(QStringLiteral("TYP= \r\n")));
            QVERIFY(sim.WaitForExit(5000));
            // The same adapter back on the same port.
            CSimProcess::Options options;
            options.device = "repeater";
            options.port = port;
            options.runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString() + "/zav7305";
            QVERIFY(replugged.Start(options));
            Click(d, CCustomConfigDlg::kIdEmettre);
            QVERIFY(d->StatusText.startsWith(QStringLiteral("TM7305rx\r\n")));
            QVERIFY(!d->StatusText.endsWith(QStringLiteral("TYP= \r\n")));
            Click(d, CCustomConfigDlg::kIdRetour);
        });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{1});
    const SeenBox& box = driver.Boxes()[0];
    QCOMPARE(box.text, QString::fromUtf8(kTextReplyCut));
    QCOMPARE(box.caption, QStringLiteral("Zav7305"));
    QCOMPARE(box.informative, QString());
    QCOMPARE(box.detailed, QString::fromUtf8(std::strerror(EIO)));
    QCOMPARE(replugged.ReceivedLines(), std::vector<std::string>({"u001255603000100", "u"}));
}

namespace {

QString Report(const char* id, const char* chf, const char* typ) {
    return QString::fromUtf8(
               "TM7305rx\r\n01/02/03\r\nVER= V14\r\nID = %1\r\nCHF= %2\r\n"
               "OFT= 100\r\nP0 = 060\r\nPRT= 000\r\nTYP= %3\r\n")
        .arg(QString::fromUtf8(id), QString::fromUtf8(chf), QString::fromUtf8(typ));
}

}  // namespace

// The verdict has its own control: the status box shows exactly what it showed before, and
// a stale verdict goes as soon as the next exchange starts.
void TestCustomConfigDlg::verdictBesideTheStatus_data() {
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("boxes");
    const int send = CCustomConfigDlg::kIdEmettre;
    QTest::newRow("match") << QStringList() << send << Report("001", "255", "300")
                           << QString::fromUtf8("✔ Configuration vérifiée") << 0;
    QTest::newRow("CHF differs") << QStringList{"--report-change", "chf"} << send
                                 << Report("001", "000", "300")
                                 << QString::fromUtf8("✖ CHF envoyé 255, lu 000") << 0;
    QTest::newRow("TYP differs") << QStringList{"--report-change", "typ"} << send
                                 << Report("001", "255", "400")
                                 << QString::fromUtf8("✖ TYP envoyé 3, lu 4") << 0;
    QTest::newRow("read alone") << QStringList() << int(CCustomConfigDlg::kIdLire)
                                << Report("000", "255", "300") << QString() << 0;
    QTest::newRow("no report") << QStringList{"--silent"} << send
                               << QString::fromUtf8("\r\n Configuration non reçue") << QString()
                               << 1;
}

void TestCustomConfigDlg::verdictBesideTheStatus() {
    QFETCH(QStringList, simArgs);
    QFETCH(int, button);
    QFETCH(QString, status);
    QFETCH(QString, verdict);
    QFETCH(int, boxes);
    std::vector<std::string> args;
    for (const QString& arg : simArgs) {
        args.push_back(arg.toStdString());
    }
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", args));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, boxes > 0 ? 16000 : 1000);
    dlg.SetClock(&clock);
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([button](CCustomConfigDlg* d) {
        d->Item<QLabel>(VerdictDisplay::kIdVerdict)->setText(QStringLiteral("stale"));
        Click(d, button);
    });
    for (int i = 0; i < boxes; ++i) {
        driver.Answer(QMessageBox::Ok);
    }
    driver.Act<CCustomConfigDlg>([&verdict](CCustomConfigDlg* d) {
        QCOMPARE(TextOf(d->GetDlgItem(VerdictDisplay::kIdVerdict)), verdict);
        Click(d, CCustomConfigDlg::kIdRetour);
    });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(int(driver.Boxes().size()), boxes);
    QCOMPARE(dlg.StatusText, status);
}

// A journal that cannot be written is told once, and every send still goes out.
void TestCustomConfigDlg::journalThatCannotBeWrittenIsToldOnce() {
    QTemporaryDir data;
    QVERIFY(data.isValid());
    const QString folder = data.filePath("zav7305");
    QVERIFY(QDir().mkpath(folder));
    // Read-only stops a user; the day's file taken by a folder stops root as well.
    for (int days : {0, 1}) {
        QVERIFY(QDir().mkpath(folder + "/" +
                              QDate::currentDate().addDays(days).toString("yyyy-MM-dd") + "." +
                              QString::fromStdString(JournalFormat::MachineName()) + ".csv"));
    }
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));

    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CEditorJournal journal(folder.toStdString());
    CCustomConfigDlg dlg(journal);
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, 1000);
    dlg.SetClock(&clock);
    CEditorDriver driver;
    driver
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdEmettre); })
        .Answer(QMessageBox::Ok)
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) {
            TypeInto(Edit(d, kId), "2");
            Click(d, CCustomConfigDlg::kIdEmettre);
            QCOMPARE(TextOf(d->GetDlgItem(VerdictDisplay::kIdVerdict)),
                     QString::fromUtf8("✔ Configuration vérifiée"));
            Click(d, CCustomConfigDlg::kIdRetour);
        });
    const int code = RunDialog(driver, dlg);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(code, 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{1});
    QVERIFY(BoxText(driver, 0).startsWith(
        QString::fromUtf8("Le journal de mise en service ne peut pas être écrit dans ")));
    QCOMPARE(driver.Boxes()[0].caption, QStringLiteral("Zav7305"));
    QCOMPARE(sim.ReceivedLines(),
             std::vector<std::string>({"u001255603000100", "u", "u002255603000100", "u"}));
}

// A device that answers after 3 s: what would start another exchange meanwhile is lost.
void TestCustomConfigDlg::onePressOneExchange_data() {
    QTest::addColumn<QString>("during");
    QTest::newRow("second click on Emettre") << "Emettre";
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("click on Lire") << "Lire";
    // Not what starts an exchange: held and typed once it is over, after the refreshed "1".
    QTest::newRow("keys typed into the ID") << "typed";
}

void TestCustomConfigDlg::onePressOneExchange() {
    QFETCH(QString, during);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", {"--delay", "1000"}));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    const int recordsBefore = JournalLineCount();
    CInputDuringWait input;
    bool shownUnavailable = false;
    CEditorDriver driver;
    driver
        .Act<CCustomConfigDlg>([&](CCustomConfigDlg* d) {
            auto* emettre = d->Item<QPushButton>(CCustomConfigDlg::kIdEmettre);
            auto* lire = d->Item<QPushButton>(CCustomConfigDlg::kIdLire);
            if (during == "Enter") {
                Edit(d, kId)->setFocus();
                input.Key(Edit(d, kId), Qt::Key_Return);
            } else if (during == "typed") {
                Edit(d, kId)->setFocus();
                input.Key(Edit(d, kId), Qt::Key_4, QStringLiteral("4"));
                input.Key(Edit(d, kId), Qt::Key_7, QStringLiteral("7"));
            } else {
                input.Click(during == "Lire" ? lire : emettre);
            }
            input.Look([&] { shownUnavailable = !emettre->isEnabled() && !lire->isEnabled(); });
            input.Arm();
            emettre->click();
            QVERIFY(input.Given());
        })
        .Act<CCustomConfigDlg>([&](CCustomConfigDlg* d) {
            QCOMPARE(TextOf(Edit(d, kId)), during == "typed" ? QStringLiteral("147") : "1");
            Click(d, CCustomConfigDlg::kIdRetour);
        });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QCOMPARE(sim.ReceivedLines(), std::vector<std::string>({"u001255603000100", "u"}));
    QCOMPARE(JournalLineCount() - recordsBefore, 1);
    QVERIFY(shownUnavailable);
    QVERIFY(dlg.Item<QPushButton>(CCustomConfigDlg::kIdEmettre)->isEnabled());
}

// "Lire" on a silent device, its wait ended 1 s in: the silent device's box and status at
// once, and the dialog goes on (Escape does not close it while it waits).
void TestCustomConfigDlg::endedWaitIsASilentDevice_data() {
    QTest::addColumn<bool>("escape");
    // Typed into the ID field during the wait, before it is ended: held like any key, and
    // so lost behind the box, as behind a silent device's.
    QTest::addColumn<QString>("typed");
    QTest::newRow("Escape") << true << QString();
    QTest::newRow("Annuler") << false << QString();
    QTest::newRow("keys typed, then Escape") << true << QStringLiteral("47");
}

void TestCustomConfigDlg::endedWaitIsASilentDevice() {
    QFETCH(bool, escape);
    QFETCH(QString, typed);
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", {"--silent"}));
    CCustomConfigDlg dlg(TestJournal());
    dlg.portNumber = sim.PortNumber();
    CInputDuringWait input;
    CFirstBoxShown box;
    CEditorDriver driver;
    driver
        .Act<CCustomConfigDlg>([&](CCustomConfigDlg* d) {
            auto* verdict = d->Item<QLabel>(VerdictDisplay::kIdVerdict);
            Edit(d, kId)->setFocus();
            Edit(d, kId)->selectAll();
            for (const QChar c : typed) {
                input.Key(Edit(d, kId), Qt::Key(Qt::Key_0 + c.digitValue()), QString(c));
            }
            if (escape) {
                input.Key(Edit(d, kId), Qt::Key_Escape);
            } else {
                input.Click([verdict] { return WaitCancelButton::Of(verdict); });
            }
            input.Arm(1000);
            Click(d, CCustomConfigDlg::kIdLire);
            QVERIFY(input.Given());
        })
        .Answer(QMessageBox::Ok)
        .Act<CCustomConfigDlg>([&](CCustomConfigDlg* d) {
            QCOMPARE(TextOf(Edit(d, kId)), QStringLiteral("1"));
            Click(d, CCustomConfigDlg::kIdRetour);
        });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(BoxText(driver, 0), QStringLiteral("Echec de lecture de la configuration."));
    QCOMPARE(dlg.StatusText, QString::fromUtf8("\r\n Configuration non reçue"));
    const int64_t endedMs = BoxAfterInputMs(box, input);
    QVERIFY2(endedMs >= 0 && endedMs < 500, qPrintable(QString::number(endedMs)));
    QVERIFY(LastJournalLine().contains(
        QString::fromUtf8("\"Echec de lecture de la configuration. (attente annulée)\"")));
    QCOMPARE(sim.ReceivedLines(), std::vector<std::string>({"u"}));
}

ZAV_TEST_CLASS(TestCustomConfigDlg);
#include "tst_custom_config_dlg.moc"
