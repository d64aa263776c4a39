#include <QComboBox>
#include <QElapsedTimer>
#include <string>
#include <vector>

#include "CConfigApp.h"
#include "CCustomConfigDlg.h"
#include "CFakeClock.h"
#include "CLoginDlg.h"
#include "CModalDriver.h"
#include "CSetupDlg.h"
#include "CSimProcess.h"
#include "EditorTestSupport.h"
#include "ShellTestSupport.h"

namespace {

constexpr int kIdField = 1005;
constexpr int kChfField = 1006;

// Logs in as client and picks the simulator's port in the setup dialog, then OK; `inEditor`
// works in the custom dialog that opens, where `boxes` message boxes are answered; the setup
// dialog is then left with "Quitter".
void DriveToCustomDialog(CModalDriver& driver, int32_t port,
                         const std::function<void(CCustomConfigDlg*)>& inEditor, int boxes = 0) {
    driver.On<CLoginDlg>([](CLoginDlg* login) { SubmitLogin(login, CLoginDlg::kIndexClient); })
        .On<CSetupDlg>([port](CSetupDlg* setup) {
            auto* ports = setup->Item<QComboBox>(CSetupDlg::kIdPort);
            const int entry = EntryOfPort(ports, port);
            QVERIFY2(entry >= 0, "the simulator's port is not in the list");
            ports->setCurrentIndex(entry);
            Click(setup->GetDlgItem(CSetupDlg::kIdOk));
        })
        .On<CCustomConfigDlg>(inEditor);
    for (int i = 0; i < boxes; ++i) {
        driver.AnswerBox(QMessageBox::Ok);
    }
    driver.On<CSetupDlg>([](CSetupDlg* setup) { Click(setup->GetDlgItem(CSetupDlg::kIdQuitter)); });
}

QStringList StatusLines(const QString& status) {
    return status.split(QStringLiteral("\r\n"));
}

}  // namespace

class TstEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void clientSendsConfiguration();
    void silentDeviceReadFailsAtDeadline();
};

void TstEndToEnd::clientSendsConfiguration() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    QString status;
    QString shown;
    CModalDriver driver;
    DriveToCustomDialog(driver, sim.PortNumber(), [&](CCustomConfigDlg* editor) {
        QVERIFY(!editor->GetDlgItem(kChfField)->isEnabled());
        TypeInto(editor->GetDlgItem(kIdField), QStringLiteral("7"));
        Click(editor->GetDlgItem(CCustomConfigDlg::kIdEmettre));
        status = editor->StatusText;
        shown = TextOf(editor->GetDlgItem(CCustomConfigDlg::kIdStatus));
        Click(editor->GetDlgItem(CCustomConfigDlg::kIdRetour));
    });
    CConfigApp app;
    RunDriven(driver, [&] { return app.InitInstance() ? 1 : 0; });
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t{0});

    // The client may change only the ID; the rest are the dialog's initial values.
    QTRY_COMPARE(sim.ReceivedLines(), (std::vector<std::string>{"u007255603000100", "u"}));
    const QStringList lines = StatusLines(status);
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0], QStringLiteral("TM7305rx"));
    QCOMPARE(lines.mid(3, 6),
             QStringList({"ID = 007", "CHF= 255", "OFT= 100", "P0 = 060", "PRT= 000", "TYP= 300"}));
    QCOMPARE(shown, QString(status).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TstEndToEnd::silentDeviceReadFailsAtDeadline() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", {"--silent"}));
    CFakeClock clock(0, 4000);
    QString status;
    CModalDriver driver;
    DriveToCustomDialog(
        driver, sim.PortNumber(),
        [&](CCustomConfigDlg* editor) {
            Click(editor->GetDlgItem(CCustomConfigDlg::kIdLire));
            status = editor->StatusText;
            Click(editor->GetDlgItem(CCustomConfigDlg::kIdRetour));
        },
        1);
    CConfigApp app(&clock);
    QElapsedTimer elapsed;
    elapsed.start();
    RunDriven(driver, [&] { return app.InitInstance() ? 1 : 0; });
    QVERIFY(driver.AllDone());

    QCOMPARE(driver.Boxes().size(), size_t{1});
    QCOMPARE(driver.Boxes()[0].text, QStringLiteral("Echec de lecture de la configuration."));
    QCOMPARE(driver.Boxes()[0].caption, QStringLiteral("Zav7305"));
    QCOMPARE(status, QStringLiteral("\r\n Configuration non reçue"));
    // The deadline came from the given clock: four steps of 4 s pass 15 s, in about four
    // one-second reads instead of fifteen.
    QVERIFY(clock.Now() > 15000);
    QVERIFY2(elapsed.elapsed() < 14000, "the deadline was not taken from the given clock");
    QTRY_COMPARE(sim.ReceivedLines(), (std::vector<std::string>{"u"}));
}

ZAV_TEST_CLASS(TstEndToEnd);
#include "tst_end_to_end.moc"
