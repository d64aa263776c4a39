#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>

#include <QTest>
#include "CModalDriver.h"
#include "CRecordingDialog.h"

#include "CTestClasses.h"

namespace {

const QString kNotInteger = QStringLiteral("Tapez un nombre entier.");

// A shown form whose fields are bound by the test.
struct Form {
    CRecordingDialog dialog{9001};
    Form() {
        dialog.show();
        dialog.activateWindow();
    }
    QLineEdit* Edit(int id) { return dialog.Item<QLineEdit>(id); }
};

void ExpectBox(const SeenBox& box, const QString& text) {
    QCOMPARE(box.caption, QStringLiteral("Zav7305"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.text, text);
}

}  // namespace

class DataExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void parsesWholeNumbers_data();
    void parsesWholeNumbers();
    void checksRanges_data();
    void checksRanges();
    void refusedFieldTakesTheFocusWithItsTextSelected();
    void firstFailureStopsTheRun();
    void writesMembersToTheScreen();
    void multiLineTextHoldsCrLfInTheMember();
    void limitsTextLength();
    void radioGroupIndexBothWays();
    void editorsRunAnExchangeOnEveryKeystroke();
};

void DataExchangeTest::parsesWholeNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("digits") << "42" << true << 42;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("blanks around") << "  -7 " << true << -7;
    QTest::newRow("tabs around") << "\t12\t" << true << 12;
    QTest::newRow("plus sign") << "+5" << true << 5;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("only blanks") << "   " << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("blank after sign") << "- 5" << false << 0;
    QTest::newRow("two numbers") << "5 5" << false << 0;
    QTest::newRow("trailing letter") << "1a" << false << 0;
    QTest::newRow("leading letter") << "a1" << false << 0;
    QTest::newRow("decimal point") << "1.0" << false << 0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0;
    QTest::newRow("two signs") << "--1" << false << 0;
    QTest::newRow("one past the largest") << "2147483648" << false << 0;
    QTest::newRow("one past the smallest") << "-2147483649" << false << 0;
    QTest::newRow("far too long") << "99999999999999999999999" << false << 0;
    QTest::newRow("non-Latin digits") << QString::fromUtf8("\u0663") << false << 0;
    QTest::newRow("full-width digits") << QString::fromUtf8("\uFF11\uFF12") << false << 0;
}

void DataExchangeTest::parsesWholeNumbers() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    Form form;
    int32_t member = 99;
    form.dialog.exchange = [&](CDataExchange& dx) { dx.Int(1005, member); };
    form.Edit(1005)->setText(text);
    CModalDriver driver;
    if (!ok) {
        driver.AnswerBox(QMessageBox::Ok);
    }
    QCOMPARE(form.dialog.UpdateData(true), ok);
    QVERIFY(driver.AllDone());
    if (ok) {
        QCOMPARE(member, value);
        QVERIFY(driver.Boxes().empty());
    } else {
        QCOMPARE(member, 99);
        QCOMPARE(driver.Boxes().size(), size_t(1));
        ExpectBox(driver.Boxes()[0], kNotInteger);
    }
}

void DataExchangeTest::checksRanges_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("message");
    QTest::newRow("lower bound") << "0" << 0 << 255 << "";
    QTest::newRow("upper bound") << "255" << 0 << 255 << "";
    QTest::newRow("above") << "256" << 0 << 255 << "Tapez un nombre entier compris entre 0 et 255.";
    QTest::newRow("below") << "-1" << 0 << 255 << "Tapez un nombre entier compris entre 0 et 255.";
    QTest::newRow("repeater count")
        << "300" << 0 << 240 << "Tapez un nombre entier compris entre 0 et 240.";
    QTest::newRow("page ID below 1")
        << "0" << 1 << 240 << "Tapez un nombre entier compris entre 1 et 240.";
    QTest::newRow("not a number comes first") << "abc" << 0 << 255 << kNotInteger;
    // A whole number is out of range however many digits it has.
    QTest::newRow("one past 32 bits")
        << "2147483648" << 0 << 255 << "Tapez un nombre entier compris entre 0 et 255.";
    QTest::newRow("pasted, far too large") << "99999999999999999999999" << 1 << 240
                                           << "Tapez un nombre entier compris entre 1 et 240.";
    QTest::newRow("pasted, far too small")
        << " -99999999999 " << 0 << 240 << "Tapez un nombre entier compris entre 0 et 240.";
}

void DataExchangeTest::checksRanges() {
    QFETCH(QString, text);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, message);
    Form form;
    int32_t member = 17;
    form.dialog.exchange = [&](CDataExchange& dx) { dx.Int(1005, member, min, max); };
    form.Edit(1005)->setText(text);
    CModalDriver driver;
    if (!message.isEmpty()) {
        driver.AnswerBox(QMessageBox::Ok);
    }
    QCOMPARE(form.dialog.UpdateData(true), message.isEmpty());
    QVERIFY(driver.AllDone());
    if (message.isEmpty()) {
        QCOMPARE(member, text.toInt());
    } else {
        // A refused value never reaches the member.
        QCOMPARE(member, 17);
        ExpectBox(driver.Boxes().at(0), message);
    }
}

void DataExchangeTest::refusedFieldTakesTheFocusWithItsTextSelected() {
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.dialog));
    int32_t a = 1;
    int32_t b = 2;
    form.dialog.exchange = [&](CDataExchange& dx) {
        dx.Int(1005, a);
        dx.Int(1006, b, 0, 255);
    };
    form.Edit(1005)->setText("1");
    form.Edit(1006)->setText("300");
    form.Edit(1005)->setFocus();
    CModalDriver driver;
    driver.AnswerBox(QMessageBox::Ok);
    QVERIFY(!form.dialog.UpdateData(true));
    QVERIFY(driver.AllDone());
    ExpectBox(driver.Boxes().at(0),
              QStringLiteral("Tapez un nombre entier compris entre 0 et 255."));
    QTRY_COMPARE(QApplication::focusWidget(), form.Edit(1006));
    QCOMPARE(form.Edit(1006)->selectedText(), QStringLiteral("300"));
}

void DataExchangeTest::firstFailureStopsTheRun() {
    Form form;
    int32_t first = 1;
    int32_t second = 2;
    QString text = QStringLiteral("old");
    int32_t choice = 0;
    form.dialog.exchange = [&](CDataExchange& dx) {
        dx.Int(1005, first, 0, 255);
        dx.Int(1006, second, 0, 255);
        dx.Text(1008, text);
        dx.Radio(1003, choice);
    };
    form.Edit(1005)->setText("");
    form.Edit(1006)->setText("x");
    form.Edit(1008)->setText("new");
    form.dialog.Item<QRadioButton>(1004)->setChecked(true);
    CModalDriver driver;
    driver.AnswerBox(QMessageBox::Ok);
    QVERIFY(!form.dialog.UpdateData(true));
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t(1));
    ExpectBox(driver.Boxes()[0], kNotInteger);
    QCOMPARE(second, 2);
    QCOMPARE(text, QStringLiteral("old"));
    QCOMPARE(choice, 0);

    // Once the first field is valid the later ones are read again.
    form.Edit(1005)->setText("3");
    form.Edit(1006)->setText("4");
    QVERIFY(form.dialog.UpdateData(true));
    QCOMPARE(first, 3);
    QCOMPARE(second, 4);
    QCOMPARE(text, QStringLiteral("new"));
    QCOMPARE(choice, 1);
}

void DataExchangeTest::writesMembersToTheScreen() {
    Form form;
    int32_t number = -12;
    int32_t ranged = 300;  // out of range values still show as they are
    QString text = QStringLiteral("3");
    form.dialog.exchange = [&](CDataExchange& dx) {
        dx.Int(1005, number);
        dx.Int(1006, ranged, 0, 255);
        dx.Text(1008, text);
    };
    CModalDriver driver;
    QVERIFY(form.dialog.UpdateData(false));
    QCOMPARE(form.Edit(1005)->text(), QStringLiteral("-12"));
    QCOMPARE(form.Edit(1006)->text(), QStringLiteral("300"));
    QCOMPARE(form.Edit(1008)->text(), QStringLiteral("3"));
    QVERIFY(driver.Boxes().empty());
}

void DataExchangeTest::multiLineTextHoldsCrLfInTheMember() {
    Form form;
    QString status = QStringLiteral("\r\n Emission en cours ...\r\nID : 12");
    form.dialog.exchange = [&](CDataExchange& dx) { dx.Text(1014, status, 255); };
    QVERIFY(form.dialog.UpdateData(false));
    auto* box = form.dialog.Item<QTextEdit>(1014);
    QCOMPARE(box->toPlainText(), QStringLiteral("\n Emission en cours ...\nID : 12"));
    status.clear();
    QVERIFY(form.dialog.UpdateData(true));
    QCOMPARE(status, QStringLiteral("\r\n Emission en cours ...\r\nID : 12"));
    // Each line break counts as the two characters the member holds.
    box->setPlainText(QString(250, QLatin1Char('a')) + QStringLiteral("\n\n\n"));
    CModalDriver driver;
    driver.AnswerBox(QMessageBox::Ok);
    QVERIFY(!form.dialog.UpdateData(true));
    QVERIFY(driver.AllDone());
    ExpectBox(driver.Boxes().at(0), QStringLiteral("Tapez 255 caractères au maximum."));
    QCOMPARE(status, QStringLiteral("\r\n Emission en cours ...\r\nID : 12"));
}

void DataExchangeTest::limitsTextLength() {
    Form form;
    QString text = QStringLiteral("ab");
    form.dialog.exchange = [&](CDataExchange& dx) { dx.Text(1005, text, 3); };
    QVERIFY(form.dialog.UpdateData(false));
    QCOMPARE(form.Edit(1005)->maxLength(), 3);
    form.Edit(1005)->setFocus();
    form.Edit(1005)->end(false);
    QTest::keyClicks(form.Edit(1005), "cde");
    QCOMPARE(form.Edit(1005)->text(), QStringLiteral("abc"));
    QVERIFY(form.dialog.UpdateData(true));
    QCOMPARE(text, QStringLiteral("abc"));

    // A field that was never limited is checked when it is read.
    QString free = QStringLiteral("x");
    form.dialog.exchange = [&](CDataExchange& dx) { dx.Text(1008, free, 3); };
    form.Edit(1008)->setMaxLength(100);
    form.Edit(1008)->setText("abcd");
    CModalDriver driver;
    driver.AnswerBox(QMessageBox::Ok);
    QVERIFY(!form.dialog.UpdateData(true));
    QVERIFY(driver.AllDone());
    ExpectBox(driver.Boxes().at(0), QStringLiteral("Tapez 3 caractères au maximum."));
    QCOMPARE(free, QStringLiteral("x"));
}

void DataExchangeTest::radioGroupIndexBothWays() {
    Form form;
    auto* one = form.dialog.Item<QRadioButton>(1003);
    auto* two = form.dialog.Item<QRadioButton>(1004);
    auto* alone = form.dialog.Item<QRadioButton>(1021);
    int32_t mode = 1;
    int32_t lone = 0;
    form.dialog.exchange = [&](CDataExchange& dx) {
        dx.Radio(1003, mode);
        dx.Radio(1021, lone);
    };
    QVERIFY(form.dialog.UpdateData(false));
    QVERIFY(!one->isChecked());
    QVERIFY(two->isChecked());
    QVERIFY(alone->isChecked());

    mode = 0;
    lone = -1;
    QVERIFY(form.dialog.UpdateData(false));
    QVERIFY(one->isChecked());
    QVERIFY(!two->isChecked());
    QVERIFY(!alone->isChecked());

    mode = -1;
    QVERIFY(form.dialog.UpdateData(false));
    QVERIFY(!one->isChecked() && !two->isChecked());
    mode = 5;
    QVERIFY(form.dialog.UpdateData(true));
    QCOMPARE(mode, -1);
    QCOMPARE(lone, -1);

    QTest::mouseClick(two, Qt::LeftButton);
    QVERIFY(form.dialog.UpdateData(true));
    QCOMPARE(mode, 1);
}

void DataExchangeTest::editorsRunAnExchangeOnEveryKeystroke() {
    // The editors copy every field on each change; while one field stays invalid, each
    // keystroke anywhere shows its message again and the focus goes back to it.
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.dialog));
    int32_t id = 1;
    int32_t chf = 255;
    form.dialog.exchange = [&](CDataExchange& dx) {
        dx.Int(1005, id, 0, 255);
        dx.Int(1006, chf, 0, 255);
    };
    QVERIFY(form.dialog.UpdateData(false));
    form.dialog.updateOnEdit = true;
    CModalDriver driver;
    driver.AnswerBox(QMessageBox::Ok).AnswerBox(QMessageBox::Ok);
    form.Edit(1005)->setFocus();
    form.Edit(1005)->selectAll();
    QTest::keyClick(form.Edit(1005), Qt::Key_Backspace);
    QTRY_COMPARE(QApplication::focusWidget(), form.Edit(1005));
    form.Edit(1006)->setFocus();
    form.Edit(1006)->selectAll();
    QTest::keyClicks(form.Edit(1006), "7");
    QVERIFY(driver.AllDone());
    QCOMPARE(driver.Boxes().size(), size_t(2));
    ExpectBox(driver.Boxes()[1], kNotInteger);
    QCOMPARE(chf, 255);
    QTRY_COMPARE(QApplication::focusWidget(), form.Edit(1005));

    QTest::keyClicks(form.Edit(1005), "9");
    QCOMPARE(id, 9);
    QCOMPARE(chf, 7);
}

ZAV_TEST_CLASS(DataExchangeTest);
#include "tst_data_exchange.moc"
