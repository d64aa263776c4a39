#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <vector>

#include "CLoginDlg.h"
#include "CModalDriver.h"
#include "EditorTestSupport.h"
#include "ShellTestSupport.h"

namespace {

const QString kWrongPassword = QStringLiteral("Mot de passe incorrect.");

QComboBox* Identity(CLoginDlg* dlg) {
    return dlg->Item<QComboBox>(CLoginDlg::kIdIdentity);
}
QLineEdit* Password(CLoginDlg* dlg) {
    return dlg->Item<QLineEdit>(CLoginDlg::kIdPassword);
}

void Choose(CLoginDlg* dlg, int index) {
    ChooseIdentity(dlg, index);
}

void ClickOk(CLoginDlg* dlg) {
    Click(dlg->Item<QPushButton>(CLoginDlg::kIdOkButton));
}

void LogInAsAdministrator(CLoginDlg* dlg, const QString& typed) {
    Choose(dlg, CLoginDlg::kIndexAdministrator);
    TypeInto(Password(dlg), typed);
}

struct LoginCase {
    const char* name;
    std::function<void(CLoginDlg*)> act;
    int refusals;  // "Mot de passe incorrect." boxes answered before the dialog is cancelled
    int code;
    uint8_t role;
};

const std::vector<LoginCase>& LoginCases() {
    static const std::vector<LoginCase> cases = {
        {"OK at once logs in as client", [](CLoginDlg* d) { ClickOk(d); }, 0, 1, 1},
        {"administrator with 2846",
         [](CLoginDlg* d) {
             LogInAsAdministrator(d, QStringLiteral("2846"));
             ClickOk(d);
         },
         0, 1, 0},
        {"Enter in the password field checks it",
         [](CLoginDlg* d) {
             LogInAsAdministrator(d, QStringLiteral("2846"));
             PressKey(Password(d), Qt::Key_Return);
         },
         0, 1, 0},
        {"password typed, then back to client: not checked",
         [](CLoginDlg* d) {
             LogInAsAdministrator(d, QStringLiteral("9999"));
             Choose(d, CLoginDlg::kIndexClient);
             ClickOk(d);
         },
         0, 1, 1},
        {"administrator with an empty password",
         [](CLoginDlg* d) {
             Choose(d, CLoginDlg::kIndexAdministrator);
             ClickOk(d);
         },
         1, 2, 1},
        {"2846 followed by a blank",
         [](CLoginDlg* d) {
             LogInAsAdministrator(d, QStringLiteral("2846 "));
             ClickOk(d);
         },
         1, 2, 1},
        {"shorter password",
         [](CLoginDlg* d) {
             LogInAsAdministrator(d, QStringLiteral("284"));
             ClickOk(d);
         },
         1, 2, 1},
        {"longer password",
         [](CLoginDlg* d) {
             LogInAsAdministrator(d, QStringLiteral("28460"));
             ClickOk(d);
         },
         1, 2, 1},
        {"wrong password by Enter",
         [](CLoginDlg* d) {
             LogInAsAdministrator(d, QStringLiteral("6482"));
             PressKey(Password(d), Qt::Key_Enter);
         },
         1, 2, 1},
        {"Enter at once cancels (focus on Annuler)",
         [](CLoginDlg*) { PressKey(QApplication::focusWidget(), Qt::Key_Return); }, 0, 2, 1},
        {"Annuler", [](CLoginDlg* d) { Click(d->Item<QPushButton>(2)); }, 0, 2, 1},
        {"Escape", [](CLoginDlg*) { PressKey(QApplication::focusWidget(), Qt::Key_Escape); }, 0, 2,
         1},
        {"close box", [](CLoginDlg* d) { d->close(); }, 0, 2, 1},
    };
    return cases;
}

}  // namespace

class TstLoginDlg : public QObject {
    Q_OBJECT
private slots:
    void opensWithClientChosen();
    void passwordFieldFollowsIdentity();
    void endings_data();
    void endings();
    void wrongPasswordKeepsDialogAsItWas();
    void standardOkCommandDoesNothing();
};

void TstLoginDlg::opensWithClientChosen() {
    CLoginDlg dlg;
    CModalDriver driver;
    driver.On<CLoginDlg>([](CLoginDlg* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Zav7305 : Login  "));
        QCOMPARE(Entries(Identity(d)),
                 QStringList({QStringLiteral("Administateur"), QStringLiteral("Client")}));
        QCOMPARE(Identity(d)->currentText(), QStringLiteral("Client"));
        QVERIFY(!Password(d)->isEnabled());
        QCOMPARE(Password(d)->echoMode(), QLineEdit::Password);
        QCOMPARE(QApplication::focusWidget(), d->GetDlgItem(2));
        d->EndDialog(2);
    });
    RunDriven(driver, [&] { return dlg.DoModal(); });
    QVERIFY(driver.AllDone());
}

void TstLoginDlg::passwordFieldFollowsIdentity() {
    CLoginDlg dlg;
    CModalDriver driver;
    driver.On<CLoginDlg>([](CLoginDlg* d) {
        LogInAsAdministrator(d, QStringLiteral("12"));
        QVERIFY(Password(d)->isEnabled());
        Choose(d, CLoginDlg::kIndexClient);
        QVERIFY(!Password(d)->isEnabled());
        QCOMPARE(Password(d)->text(), QStringLiteral("12"));
        Choose(d, CLoginDlg::kIndexAdministrator);
        QVERIFY(Password(d)->isEnabled());
        d->EndDialog(2);
    });
    RunDriven(driver, [&] { return dlg.DoModal(); });
    QVERIFY(driver.AllDone());
}

void TstLoginDlg::endings_data() {
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < LoginCases().size(); ++i) {
        QTest::newRow(LoginCases()[i].name) << static_cast<int>(i);
    }
}

void TstLoginDlg::endings() {
    QFETCH(int, row);
    const LoginCase& c = LoginCases()[static_cast<size_t>(row)];
    CLoginDlg dlg;
    CModalDriver driver;
    driver.On<CLoginDlg>(c.act);
    for (int i = 0; i < c.refusals; ++i) {
        driver.AnswerBox(QMessageBox::Ok);
    }
    if (c.code == 2 && c.refusals > 0) {
        driver.On<CLoginDlg>([](CLoginDlg* d) { Click(d->Item<QPushButton>(2)); });
    }
    const int code = RunDriven(driver, [&] { return dlg.DoModal(); });

    QVERIFY(driver.AllDone());
    QCOMPARE(code, c.code);
    QCOMPARE(static_cast<int>(driver.Boxes().size()), c.refusals);
    for (const SeenBox& box : driver.Boxes()) {
        QCOMPARE(box.text, kWrongPassword);
        QCOMPARE(box.caption, QStringLiteral("Zav7305"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    if (code == 1) {
        QCOMPARE(dlg.role, c.role);
    }
}

void TstLoginDlg::wrongPasswordKeepsDialogAsItWas() {
    CLoginDlg dlg;
    CModalDriver driver;
    driver
        .On<CLoginDlg>([](CLoginDlg* d) {
            LogInAsAdministrator(d, QStringLiteral("0000"));
            ClickOk(d);
        })
        .AnswerBox(QMessageBox::Ok)
        .On<CLoginDlg>([](CLoginDlg* d) {
            QVERIFY(d->isVisible());
            QCOMPARE(Identity(d)->currentText(), QStringLiteral("Administateur"));
            QCOMPARE(Password(d)->text(), QStringLiteral("0000"));
            QVERIFY(Password(d)->isEnabled());
            // Another try is allowed at once.
            TypeInto(Password(d), QStringLiteral("2846"));
            ClickOk(d);
        });
    const int code = RunDriven(driver, [&] { return dlg.DoModal(); });
    QVERIFY(driver.AllDone());
    QCOMPARE(code, 1);
    QCOMPARE(dlg.role, CLoginDlg::kRoleAdministrator);
}

void TstLoginDlg::standardOkCommandDoesNothing() {
    CLoginDlg dlg;
    CModalDriver driver;
    driver.On<CLoginDlg>([](CLoginDlg* d) {
        d->SendCommand(1);
        QVERIFY(d->isVisible());
        d->EndDialog(2);
    });
    QCOMPARE(RunDriven(driver, [&] { return dlg.DoModal(); }), 2);
    QVERIFY(driver.AllDone());
}

ZAV_TEST_CLASS(TstLoginDlg);
#include "tst_login_dlg.moc"
