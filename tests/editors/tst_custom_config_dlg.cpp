#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "CCustomConfigDlg.h"
#include "CUrlCatcher.h"
#include "EditorTestSupport.h"
#include "MessageBoxes.h"

namespace {

constexpr int kId = 1005;
constexpr int kChf = 1006;
constexpr int kP0 = 1010;
constexpr int kTyp = 1011;
constexpr int kPrt = 1012;
constexpr int kOft = 1013;
constexpr int kHelp = 57670;

const QString kNotInteger = QStringLiteral("Tapez un nombre entier.");
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

}  // namespace

class TestCustomConfigDlg : public QObject {
    Q_OBJECT
private slots:
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
};

void TestCustomConfigDlg::opensWithInitialValuesAndFocusOnHelp() {
    // Whatever an earlier opening typed, a new dialog starts from the initial values.
    {
        CCustomConfigDlg earlier;
        CEditorDriver driver;
        driver.Act<CCustomConfigDlg>([](CCustomConfigDlg* dlg) {
            TypeInto(Edit(dlg, kId), "77");
            Click(dlg, CCustomConfigDlg::kIdRetour);
        });
        QCOMPARE(RunDialog(driver, earlier), 255);
    }
    CCustomConfigDlg dlg;
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
    CCustomConfigDlg dlg;
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
    CCustomConfigDlg dlg;
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
    CCustomConfigDlg dlg;
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
    CCustomConfigDlg dlg;
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
    CCustomConfigDlg dlg;
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, 1000);
    dlg.SetClock(&clock);
    const unsigned beeps = BeepCount();
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
    QCOMPARE(BeepCount(), beeps + 1);
    QVERIFY(dlg.StatusText.startsWith("TM7305rx\r\n"));
    QVERIFY(dlg.StatusText.endsWith(QString::fromUtf8(
        "ID = 005\r\nCHF= 012\r\nOFT= 100\r\nP0 = 007\r\nPRT= 003\r\nTYP= é00\r\n")));
}

void TestCustomConfigDlg::emettreWithoutPortKeepsTheProgressText() {
    CCustomConfigDlg dlg;
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
}

void TestCustomConfigDlg::emptyTypeSendsNothingTruncated() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater"));
    CCustomConfigDlg dlg;
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
    CCustomConfigDlg dlg;
    dlg.portNumber = sim.PortNumber();
    CFakeClock clock(0, 1000);
    dlg.SetClock(&clock);
    const unsigned beeps = BeepCount();
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
    QCOMPARE(BeepCount(), beeps);
    QVERIFY(dlg.StatusText.startsWith("LC7305rx\r\n"));
    QCOMPARE(dlg.StatusText.count("\r\n"), 9);
    QCOMPARE(dlg.ID, 9);
}

void TestCustomConfigDlg::lireOnASilentDeviceFailsAtTheDeadline() {
    CSimProcess sim;
    QVERIFY(StartSim(sim, "repeater", {"--silent"}));
    CCustomConfigDlg dlg;
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
}

void TestCustomConfigDlg::helpButtonIssuesTheHelpCommand() {
    // From the build tree the guide is the source tree's; the dialog's page is opened.
    CUrlCatcher browser;
    CCustomConfigDlg dlg;
    CEditorDriver driver;
    driver.Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, kHelp); })
        .Act<CCustomConfigDlg>([](CCustomConfigDlg* d) { Click(d, CCustomConfigDlg::kIdRetour); });
    QCOMPARE(RunDialog(driver, dlg), 255);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(browser.Pages(), QStringList{"personnalisee"});
    QVERIFY(QFileInfo(browser.Urls().at(0).toLocalFile()).isFile());
}

ZAV_EDITORS_TEST_MAIN(TestCustomConfigDlg)
#include "tst_custom_config_dlg.moc"
