#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "CAboutDlg.h"
#include "CConfigApp.h"
#include "CCustomConfigDlg.h"
#include "CFakePortTree.h"
#include "CLoginDlg.h"
#include "CModalDriver.h"
#include "CSetupDlg.h"
#include "CUrlCatcher.h"
#include "EditorTestSupport.h"
#include "HelpCommand.h"
#include "QtFrenchTexts.h"
#include "ShellTestSupport.h"

namespace {

constexpr int kCustomQuitter = 1017;

// Runs the start-up routine; its result must be false whatever happened.
// The run's start failure, empty when it started.
QString RunApp(CModalDriver& driver, const CPortDirectory* ports = nullptr) {
    CConfigApp app(nullptr, ports);
    bool result = true;
    RunDriven(driver, [&] {
        result = app.InitInstance();
        return 0;
    });
    [&] { QVERIFY(!result); }();
    return QString::fromUtf8(app.StartFailure());
}

// A step that must never be reached: the setup dialog after the run has ended.
void NeverAgain(CModalDriver& driver, int& setupShown) {
    driver.On<CSetupDlg>([&setupShown](CSetupDlg* d) {
        ++setupShown;
        d->EndDialog(2);
    });
}

QLabel* LabelWithText(QWidget* window, const QString& text) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}

QLabel* IconLabel(QWidget* window) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            return label;
        }
    }
    return nullptr;
}

}  // namespace

class TstConfigApp : public QObject {
    Q_OBJECT
private slots:
    void firstLoginNotAccepted_data();
    void firstLoginNotAccepted();
    void loginGivesSetupItsRole_data();
    void loginGivesSetupItsRole();
    void editorQuitterEndsProgram();
    void aboutBoxFromSetup();
    void helpOpensTheShownDialogsPage();
    void qtOwnTextsInFrench();
};

void TstConfigApp::firstLoginNotAccepted_data() {
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("startFails");
    QTest::newRow("Annuler") << 0 << false;
    QTest::newRow("Escape") << 1 << false;
    QTest::newRow("close box") << 2 << false;
    QTest::newRow("ended without a choice") << 3 << true;
}

void TstConfigApp::firstLoginNotAccepted() {
    QFETCH(int, how);
    QFETCH(bool, startFails);
    int setupShown = 0;
    CModalDriver driver;
    driver.On<CLoginDlg>([how](CLoginDlg* login) {
        switch (how) {
            case 0:
                Click(login->GetDlgItem(2));
                break;
            case 1:
                PressKey(QApplication::focusWidget(), Qt::Key_Escape);
                break;
            case 2:
                login->close();
                break;
            default:
                login->EndDialog(-1);
                break;
        }
    });
    NeverAgain(driver, setupShown);
    QCOMPARE(RunApp(driver).contains(QStringLiteral("ne peut pas démarrer")), startFails);
    QCOMPARE(setupShown, 0);
    QCOMPARE(driver.Pending(), 1);
}

void TstConfigApp::loginGivesSetupItsRole_data() {
    QTest::addColumn<int>("identity");
    QTest::addColumn<QString>("firstPassword");
    QTest::addColumn<int>("isClient");
    QTest::newRow("client") << int{CLoginDlg::kIndexClient} << QString() << 1;
    QTest::newRow("administrator") << int{CLoginDlg::kIndexAdministrator} << "2846" << 0;
    QTest::newRow("administrator after a refused try")
        << int{CLoginDlg::kIndexAdministrator} << "2845" << 0;
}

void TstConfigApp::loginGivesSetupItsRole() {
    QFETCH(int, identity);
    QFETCH(QString, firstPassword);
    QFETCH(int, isClient);
    const bool refusedFirst = firstPassword == QStringLiteral("2845");
    int setupShown = 0;
    int seenIsClient = -1;
    CModalDriver driver;
    driver.On<CLoginDlg>([&](CLoginDlg* login) { SubmitLogin(login, identity, firstPassword); });
    if (refusedFirst) {
        driver.AnswerBox(QMessageBox::Ok).On<CLoginDlg>([](CLoginDlg* login) {
            SubmitLogin(login, CLoginDlg::kIndexAdministrator, QStringLiteral("2846"));
        });
    }
    driver.On<CSetupDlg>([&](CSetupDlg* setup) {
        ++setupShown;
        seenIsClient = setup->isClient;
        Click(setup->GetDlgItem(CSetupDlg::kIdQuitter));
    });
    NeverAgain(driver, setupShown);
    RunApp(driver);
    QCOMPARE(setupShown, 1);
    QCOMPARE(seenIsClient, isClient);
    QCOMPARE(driver.Boxes().size(), size_t{refusedFirst ? 1u : 0u});
}

void TstConfigApp::editorQuitterEndsProgram() {
    CFakePortTree tree;
    QVERIFY(tree.AddTty(QStringLiteral("ttyS2")));
    int setupShown = 0;
    CModalDriver driver;
    driver.On<CLoginDlg>([](CLoginDlg* login) { SubmitLogin(login, CLoginDlg::kIndexClient); })
        .On<CSetupDlg>([&](CSetupDlg* setup) {
            ++setupShown;
            Click(setup->GetDlgItem(CSetupDlg::kIdOk));
        })
        .On<CCustomConfigDlg>([](CCustomConfigDlg* editor) {
            QCOMPARE(editor->portNumber, 3);
            QCOMPARE(static_cast<int>(editor->isClient), 1);
            Click(editor->GetDlgItem(kCustomQuitter));
        });
    NeverAgain(driver, setupShown);
    RunApp(driver, &tree.Directory());
    QCOMPARE(setupShown, 1);
    QCOMPARE(driver.Pending(), 1);
}

void TstConfigApp::aboutBoxFromSetup() {
    CSetupDlg* shownSetup = nullptr;
    CModalDriver driver;
    driver.On<CLoginDlg>([](CLoginDlg* login) { SubmitLogin(login, CLoginDlg::kIndexClient); })
        .On<CSetupDlg>([&](CSetupDlg* setup) {
            shownSetup = setup;
            Click(setup->Item<QRadioButton>(CSetupDlg::kIdDefault));
            TypeInto(setup->GetDlgItem(CSetupDlg::kIdRepeaterCount), QStringLiteral("12"));
            Click(setup->GetDlgItem(CSetupDlg::kIdAbout));
            Click(setup->GetDlgItem(CSetupDlg::kIdAbout));
            // Back from both: the setup dialog as it was.
            QVERIFY(setup->isVisible());
            QCOMPARE(setup->configMode, 1);
            QCOMPARE(TextOf(setup->GetDlgItem(CSetupDlg::kIdRepeaterCount)), QStringLiteral("12"));
            Click(setup->GetDlgItem(CSetupDlg::kIdQuitter));
        });
    for (int run = 0; run < 2; ++run) {
        driver.On<CAboutDlg>([&, run](CAboutDlg* about) {
            QCOMPARE(about->windowTitle(), QStringLiteral("A propos de Zav7305"));
            QCOMPARE(about->parentWidget(), shownSetup);
            QVERIFY(shownSetup->isVisible());
            QVERIFY(LabelWithText(about, QStringLiteral("Zav7305 version 1.4")) != nullptr);
            QVERIFY(IconLabel(about) != nullptr);
            if (run == 0) {
                Click(about->GetDlgItem(1));
            } else {
                PressKey(QApplication::focusWidget(), Qt::Key_Escape);
            }
        });
    }
    RunApp(driver);
    QVERIFY(driver.AllDone());
}

// Every dialog's help, by its button or F1, hands the desktop the guide's page for it.
void TstConfigApp::helpOpensTheShownDialogsPage() {
    CUrlCatcher browser;
    const auto help = [] { PressKey(QApplication::focusWidget(), Qt::Key_F1); };
    CModalDriver driver;
    driver
        .On<CLoginDlg>([&](CLoginDlg* login) {
            help();
            SubmitLogin(login, CLoginDlg::kIndexClient);
        })
        .On<CSetupDlg>([&](CSetupDlg* setup) {
            help();
            Click(setup->GetDlgItem(CSetupDlg::kIdAbout));
            Click(setup->Item<QRadioButton>(CSetupDlg::kIdDefault));
            Click(setup->GetDlgItem(CSetupDlg::kIdOk));
            Click(setup->Item<QRadioButton>(CSetupDlg::kIdCustom));
            Click(setup->GetDlgItem(CSetupDlg::kIdOk));
        })
        .On<CAboutDlg>([&](CAboutDlg* about) {
            help();
            Click(about->GetDlgItem(1));
        })
        .On<CMyPropSheet>([&](CMyPropSheet* sheet) {
            for (int tab = 0; tab < 3; ++tab) {
                QVERIFY(sheet->SetActivePage(tab));
                sheet->GetButton(CPropertySheet::kIdHelp)->click();
            }
            help();
            sheet->EndDialog(CMyPropSheet::kRetourCode);
        })
        .On<CCustomConfigDlg>([&](CCustomConfigDlg* editor) {
            Click(editor->GetDlgItem(kHelpCommandId));
            PressKey(editor->GetDlgItem(1005), Qt::Key_F1);
            Click(editor->GetDlgItem(kCustomQuitter));
        });
    RunApp(driver);
    QVERIFY(driver.AllDone());
    QVERIFY(driver.Boxes().empty());
    QCOMPARE(browser.Pages(),
             QStringList({"connexion", "reglages", "Zav7305", "repeteurs", "capteurs", "modem",
                          "modem", "personnalisee", "personnalisee"}));
    for (const QUrl& url : browser.Urls()) {
        QVERIFY2(QFileInfo(url.toLocalFile()).isFile(), qPrintable(url.toString()));
        QCOMPARE(QFileInfo(url.toLocalFile()).absolutePath(), HelpGuideFolder());
    }
}

void TstConfigApp::qtOwnTextsInFrench() {
    if (!InstallQtFrenchTexts(*qApp)) {
        QSKIP("Qt's French translation (qt6-translations-l10n) is not installed");
    }
    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << action->text().section(u'\t', 0, 0);  // without the shortcut
    }
    QVERIFY2(texts.contains(QStringLiteral("&Annuler")), qPrintable(texts.join(u'|')));
    QVERIFY2(texts.contains(QStringLiteral("Tout sélectionner")), qPrintable(texts.join(u'|')));
}

ZAV_TEST_CLASS(TstConfigApp);
#include "tst_config_app.moc"
