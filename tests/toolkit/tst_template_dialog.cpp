#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

#include <QTest>
#include "CBeepCounter.h"
#include "CModalDriver.h"
#include "CRecordingDialog.h"
#include "CUrlCatcher.h"
#include "HelpCommand.h"
#include "MessageBoxes.h"

#include "CTestClasses.h"

namespace {

enum class Action {
    ClickOk,
    ClickCancel,
    EscapeInField,
    CloseBox,
    CustomEnd,
    EnterOnFocusedCancel,
    EnterInFieldThenEscape,
    EnterOnFocusedOk,
    EnterWithTheDefaultButtonDisabled,
};

void Perform(Action action, CRecordingDialog* dialog) {
    switch (action) {
        case Action::ClickOk:
            QTest::mouseClick(dialog->GetDlgItem(1), Qt::LeftButton);
            break;
        case Action::ClickCancel:
            QTest::mouseClick(dialog->GetDlgItem(2), Qt::LeftButton);
            break;
        case Action::EscapeInField:
            dialog->GetDlgItem(1005)->setFocus();
            QTest::keyClick(dialog->GetDlgItem(1005), Qt::Key_Escape);
            break;
        case Action::CloseBox:
            dialog->close();
            break;
        case Action::CustomEnd:
            dialog->EndDialog(255);
            break;
        case Action::EnterOnFocusedCancel:
            dialog->GetDlgItem(2)->setFocus();
            QTest::keyClick(dialog->GetDlgItem(2), Qt::Key_Return);
            break;
        case Action::EnterInFieldThenEscape:
            dialog->GetDlgItem(1005)->setFocus();
            QTest::keyClick(dialog->GetDlgItem(1005), Qt::Key_Enter);
            QTest::keyClick(dialog->GetDlgItem(1005), Qt::Key_Escape);
            break;
        case Action::EnterOnFocusedOk:
            // OK has no tab stop but takes the focus when clicked at.
            dialog->GetDlgItem(1)->setFocus();
            QTest::keyClick(dialog->GetDlgItem(1), Qt::Key_Return);
            break;
        case Action::EnterWithTheDefaultButtonDisabled:
            dialog->GetDlgItem(1015)->setEnabled(false);
            dialog->GetDlgItem(1005)->setFocus();
            QTest::keyClick(dialog->GetDlgItem(1005), Qt::Key_Return);
            dialog->EndDialog(4);
            break;
    }
}

}  // namespace

Q_DECLARE_METATYPE(Action)

class TemplateDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initRunsThenTheFocusGoesToTheFirstTabStop();
    void endCodes_data();
    void endCodes();
    void keysReachPreTranslateKeyOnceAndFirst();
    void enterInAnEditableMultiLineEditBreaksTheLine();
    void okWithARefusedFieldKeepsTheDialogOpen();
    void helpCommandOpensTheGuideOrSaysItIsMissing();
    void missingTemplateCannotRun();
    void messageBoxesHaveTheirCaptionsIconsAndButtons();
    void beepIsCounted();
};

void TemplateDialogTest::initRunsThenTheFocusGoesToTheFirstTabStop() {
    CRecordingDialog dialog(9001);
    int32_t value = 42;
    dialog.exchange = [&](CDataExchange& dx) { dx.Int(1005, value); };
    QWidget* focused = nullptr;
    QString shown;
    CModalDriver driver;
    driver.On<CRecordingDialog>([&](CRecordingDialog* d) {
        focused = d->focusWidget();
        shown = d->Item<QLineEdit>(1005)->text();
        d->EndDialog(255);
    });
    QCOMPARE(dialog.DoModal(), 255);
    QVERIFY(driver.AllDone());
    QCOMPARE(dialog.initRuns, 1);
    QCOMPARE(shown, QStringLiteral("42"));
    QCOMPARE(focused, dialog.GetDlgItem(57670));

    // The window is made once; a second run starts the same way on it.
    driver.On<CRecordingDialog>([&](CRecordingDialog* d) { d->EndDialog(7); });
    QCOMPARE(dialog.DoModal(), 7);
    QCOMPARE(dialog.initRuns, 2);
}

void TemplateDialogTest::endCodes_data() {
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("code");
    QTest::addColumn<std::vector<int>>("commands");
    QTest::newRow("OK button") << Action::ClickOk << 1 << std::vector<int>{1};
    QTest::newRow("cancel button") << Action::ClickCancel << 2 << std::vector<int>{2};
    QTest::newRow("Escape in a field") << Action::EscapeInField << 2 << std::vector<int>{2};
    QTest::newRow("close box") << Action::CloseBox << 2 << std::vector<int>{2};
    QTest::newRow("an editor's own code") << Action::CustomEnd << 255 << std::vector<int>{};
    QTest::newRow("Enter on the focused cancel button")
        << Action::EnterOnFocusedCancel << 2 << std::vector<int>{2};
    QTest::newRow("Enter in a field is the default button")
        << Action::EnterInFieldThenEscape << 2 << std::vector<int>{1015, 2};
    QTest::newRow("Enter on the focused OK button")
        << Action::EnterOnFocusedOk << 1 << std::vector<int>{1};
    QTest::newRow("Enter while the default button is disabled")
        << Action::EnterWithTheDefaultButtonDisabled << 4 << std::vector<int>{};
}

void TemplateDialogTest::endCodes() {
    QFETCH(Action, action);
    QFETCH(int, code);
    QFETCH(std::vector<int>, commands);
    CRecordingDialog dialog(9001);
    CModalDriver driver;
    driver.On<CRecordingDialog>([action](CRecordingDialog* d) { Perform(action, d); });
    QCOMPARE(dialog.DoModal(), code);
    QVERIFY(driver.AllDone());
    QCOMPARE(dialog.commands, commands);
    QVERIFY(!dialog.isVisible());
}

void TemplateDialogTest::keysReachPreTranslateKeyOnceAndFirst() {
    CRecordingDialog dialog(9001);
    std::vector<int> seen;
    dialog.preTranslate = [&](QKeyEvent* event) {
        seen.push_back(event->key());
        return event->key() == Qt::Key_Return;
    };
    QString typed;
    CModalDriver driver;
    driver.On<CRecordingDialog>([&](CRecordingDialog* d) {
        QWidget* field = d->GetDlgItem(1005);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);  // consumed: no command
        QTest::keyClick(field, Qt::Key_A);       // typed into the field
        QTest::keyClick(field, Qt::Key_F5);      // ignored by the field, seen once all the same
        typed = d->Item<QLineEdit>(1005)->text();
        QTest::keyClick(field, Qt::Key_Escape);
    });
    QCOMPARE(dialog.DoModal(), 2);
    QVERIFY(driver.AllDone());
    QCOMPARE(seen, (std::vector<int>{Qt::Key_Return, Qt::Key_A, Qt::Key_F5, Qt::Key_Escape}));
    QCOMPARE(typed, QStringLiteral("a"));
    QCOMPARE(dialog.commands, std::vector<int>{2});
}

void TemplateDialogTest::enterInAnEditableMultiLineEditBreaksTheLine() {
    CRecordingDialog dialog(9001);
    QString text;
    CModalDriver driver;
    driver.On<CRecordingDialog>([&](CRecordingDialog* d) {
        auto* notes = d->Item<QTextEdit>(1016);
        notes->setFocus();
        QTest::keyClicks(notes, "a");
        QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClicks(notes, "b");
        text = notes->toPlainText();
        // The read-only status box does not want Enter: it goes to the default button.
        d->GetDlgItem(1014)->setFocus();
        QTest::keyClick(d->GetDlgItem(1014), Qt::Key_Return);
        d->EndDialog(3);
    });
    QCOMPARE(dialog.DoModal(), 3);
    QCOMPARE(text, QStringLiteral("a\nb"));
    QCOMPARE(dialog.commands, std::vector<int>{1015});
}

void TemplateDialogTest::okWithARefusedFieldKeepsTheDialogOpen() {
    CRecordingDialog dialog(9001);
    int32_t value = 4;
    dialog.exchange = [&](CDataExchange& dx) { dx.Int(1005, value, 0, 9); };
    bool openAfterRefusal = false;
    CModalDriver driver;
    driver
        .On<CRecordingDialog>([&](CRecordingDialog* d) {
            d->Item<QLineEdit>(1005)->setText("12");
            QTest::mouseClick(d->GetDlgItem(1), Qt::LeftButton);
            openAfterRefusal = d->isVisible();
            d->Item<QLineEdit>(1005)->setText("8");
            QTest::mouseClick(d->GetDlgItem(1), Qt::LeftButton);
        })
        .AnswerBox(QMessageBox::Ok);
    QCOMPARE(dialog.DoModal(), 1);
    QVERIFY(driver.AllDone());
    QVERIFY(openAfterRefusal);
    QCOMPARE(driver.Boxes().at(0).text,
             QStringLiteral("Tapez un nombre entier compris entre 0 et 9."));
    QCOMPARE(value, 8);
}

// The help button and F1 both issue the help command; without a guide it names the page it
// looked for, and with one it hands that page to the desktop.
void TemplateDialogTest::helpCommandOpensTheGuideOrSaysItIsMissing() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    SetHelpGuideFolder(folder.path());
    const QString path = folder.path() + QStringLiteral("/Zav7305.html");
    QCOMPARE(HelpFilePath(), path);
    CUrlCatcher browser;
    const auto pressHelpTwice = [](CRecordingDialog* d) {
        QTest::mouseClick(d->GetDlgItem(kHelpCommandId), Qt::LeftButton);
        QTest::keyClick(d->GetDlgItem(1005), Qt::Key_F1);
        d->EndDialog(2);
    };
    {
        CRecordingDialog dialog(9001);
        CModalDriver driver;
        driver.On<CRecordingDialog>(pressHelpTwice)
            .AnswerBox(QMessageBox::Ok)
            .AnswerBox(QMessageBox::Ok);
        QCOMPARE(dialog.DoModal(), 2);
        QVERIFY(driver.AllDone());
        QCOMPARE(dialog.commands, std::vector<int>({kHelpCommandId, kHelpCommandId}));
        for (const SeenBox& box : driver.Boxes()) {
            QCOMPARE(box.caption, QStringLiteral("Zav7305"));
            QCOMPARE(box.icon, QMessageBox::Warning);
            QCOMPARE(box.text, QStringLiteral("Le fichier d'aide %1 est introuvable.").arg(path));
        }
        QVERIFY(browser.Urls().isEmpty());
    }
    QFile page(path);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    {
        CRecordingDialog dialog(9001);
        CModalDriver driver;
        driver.On<CRecordingDialog>(pressHelpTwice);
        QCOMPARE(dialog.DoModal(), 2);
        QVERIFY(driver.AllDone());
        QVERIFY(driver.Boxes().empty());
        QCOMPARE(browser.Urls(), QList<QUrl>(2, QUrl::fromLocalFile(path)));
    }
    SetHelpGuideFolder(QString());
}

void TemplateDialogTest::missingTemplateCannotRun() {
    CRecordingDialog dialog(4242);
    QCOMPARE(dialog.DoModal(), -1);
    QCOMPARE(dialog.initRuns, 0);
    QCOMPARE(dialog.GetDlgItem(1), nullptr);
}

void TemplateDialogTest::messageBoxesHaveTheirCaptionsIconsAndButtons() {
    QWidget owner;
    owner.show();
    CModalDriver driver;
    driver.AnswerBox(QMessageBox::Ok)
        .AnswerBox(QMessageBox::Yes)
        .AnswerBox(QMessageBox::No)
        .AnswerBox(QMessageBox::Ok);
    QCOMPARE(AppTitle(), QStringLiteral("Zav7305"));
    QCOMPARE(AfxMessageBox(QStringLiteral("Erreur TYPE")), 1);
    const QString question = QStringLiteral("ID déjà attribué.\nVoulez-vous le reprogrammer ?");
    QVERIFY(AskYesNo(&owner, QStringLiteral("ZU7305"), question));
    QVERIFY(!AskYesNo(&owner, QStringLiteral("ZU7305"), question));
    ShowOwnedMessage(&owner, QStringLiteral("DevOv7305"),
                     QStringLiteral("Impossible emettre 2 fois"));
    QVERIFY(driver.AllDone());

    const std::vector<SeenBox>& boxes = driver.Boxes();
    QCOMPARE(boxes[0].caption, QStringLiteral("Zav7305"));
    QCOMPARE(boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    for (int i : {1, 2}) {
        QCOMPARE(boxes[i].caption, QStringLiteral("ZU7305"));
        QCOMPARE(boxes[i].text, question);
        QCOMPARE(boxes[i].icon, QMessageBox::NoIcon);
        QCOMPARE(boxes[i].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(boxes[i].defaultButton, QMessageBox::Yes);
        // French without Qt's translation, which this test does not load.
        QCOMPARE(boxes[i].buttonTexts, QStringList({"&Oui", "&Non"}));
    }
    QCOMPARE(boxes[3].caption, QStringLiteral("DevOv7305"));
    QCOMPARE(boxes[3].icon, QMessageBox::NoIcon);
    QCOMPARE(boxes[3].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TemplateDialogTest::beepIsCounted() {
    CBeepCounter beeps;
    MessageBeep();
    MessageBeep();
    QCOMPARE(beeps.Count(), 2u);
}

ZAV_TEST_CLASS(TemplateDialogTest);
#include "tst_template_dialog.moc"
