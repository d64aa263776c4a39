#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <QTest>
#include "CControlFactory.h"
#include "CDialogUnits.h"
#include "CRecordingDialog.h"
#include "DialogTemplate.h"
#include "SortedCombo.h"
#include "StringTable.h"

#include "CTestClasses.h"

class TemplateFormTest : public QObject {
    Q_OBJECT
private slots:
    void parsesTemplates_data();
    void parsesTemplates();
    void readsEveryFieldOfAControl();
    void loadsTheProgramTemplatesAndRefusesUnknownIds();
    void dialogUnitsRoundLikeThePlatform_data();
    void dialogUnitsRoundLikeThePlatform();
    void placesControlsAtTheirPixelRects();
    void windowFollowsTheTemplateStyles();
    void createsTheWidgetForEachKind_data();
    void createsTheWidgetForEachKind();
    void factoryMapsKindsAndStyles_data();
    void factoryMapsKindsAndStyles();
    void appliesControlStyles();
    void tabOrderFollowsTheTemplateAmongTabStops();
    void mnemonicLabelsHandTheFocusOn();
    void radiosAreExclusiveWithinTheirGroupRun();
    void forwardsClicksAndEditChanges();
    void screenWritesRaiseNoEditNotifications();
    void enterGoesToTheFocusedButtonElseTheDefault();
    void focusesTheFirstEnabledTabStop();
    void limitsLineEdits();
    void sortedComboKeepsTextOrderWithoutCase_data();
    void sortedComboKeepsTextOrderWithoutCase();
    void stringTableHoldsTheValidationMessages();
};

void TemplateFormTest::parsesTemplates_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("controls");
    const QByteArray button =
        R"({"kind":"button","id":1,"x":1,"y":2,"w":3,"h":4,"text":"OK","styles":["tabstop"]})";
    QTest::newRow("minimal, defaults for font")
        << QByteArray(R"({"id":5,"width":10,"height":20})") << true << 0;
    QTest::newRow("one control") << (R"({"id":5,"width":10,"height":20,"controls":[)" + button +
                                     "]}")
                                 << true << 1;
    QTest::newRow("unknown styles are kept, not refused")
        << QByteArray(R"({"id":5,"width":10,"height":20,"styles":["popup","shiny"]})") << true << 0;
    QTest::newRow("not json") << QByteArray("{id:5") << false << 0;
    QTest::newRow("an array") << QByteArray("[1,2]") << false << 0;
    QTest::newRow("width missing") << QByteArray(R"({"id":5,"height":20})") << false << 0;
    QTest::newRow("height as text")
        << QByteArray(R"({"id":5,"width":10,"height":"20"})") << false << 0;
    QTest::newRow("fractional size")
        << QByteArray(R"({"id":5,"width":10.5,"height":20})") << false << 0;
    QTest::newRow("negative size")
        << QByteArray(R"({"id":5,"width":-1,"height":20})") << false << 0;
    QTest::newRow("styles not a list")
        << QByteArray(R"({"id":5,"width":10,"height":20,"styles":"popup"})") << false << 0;
    QTest::newRow("controls not a list")
        << QByteArray(R"({"id":5,"width":10,"height":20,"controls":{}})") << false << 0;
    QTest::newRow("unknown control kind")
        << QByteArray(
               R"({"id":5,"width":10,"height":20,"controls":[{"kind":"slider","id":1,"x":1,"y":2,"w":3,"h":4}]})")
        << false << 0;
    QTest::newRow("control without position")
        << QByteArray(
               R"({"id":5,"width":10,"height":20,"controls":[{"kind":"edit","id":1,"w":3,"h":4}]})")
        << false << 0;
    QTest::newRow("control text not a string")
        << QByteArray(
               R"({"id":5,"width":10,"height":20,"controls":[{"kind":"edit","id":1,"x":1,"y":2,"w":3,"h":4,"text":7}]})")
        << false << 0;
    QTest::newRow("control style not a string")
        << QByteArray(
               R"({"id":5,"width":10,"height":20,"controls":[{"kind":"edit","id":1,"x":1,"y":2,"w":3,"h":4,"styles":[1]}]})")
        << false << 0;
}

void TemplateFormTest::parsesTemplates() {
    QFETCH(QByteArray, json);
    QFETCH(bool, valid);
    QFETCH(int, controls);
    const auto tmpl = DialogTemplate::FromJson(json);
    QCOMPARE(tmpl.has_value(), valid);
    if (tmpl) {
        QCOMPARE(int(tmpl->controls.size()), controls);
        QCOMPARE(tmpl->size, QSize(10, 20));
        QCOMPARE(tmpl->fontName, QStringLiteral("MS Sans Serif"));
        QCOMPARE(tmpl->fontPoints, 8);
    }
}

void TemplateFormTest::readsEveryFieldOfAControl() {
    const auto tmpl = DialogTemplate::FromJson(
        R"({"id":77,"width":256,"height":129,"font":"Arial","points":10,"caption":"Zav7305 : Login  ",
            "styles":["popup","caption"],
            "controls":[{"kind":"defbutton","id":1015,"x":6,"y":49,"w":47,"h":15,"text":"OK","styles":["tabstop"]},
                        {"kind":"picture","id":-1,"x":150,"y":6,"w":70,"h":43,"text":"135"}]})");
    QVERIFY(tmpl);
    QCOMPARE(tmpl->id, 77);
    QCOMPARE(tmpl->caption, QStringLiteral("Zav7305 : Login  "));
    QCOMPARE(tmpl->fontName, QStringLiteral("Arial"));
    QCOMPARE(tmpl->fontPoints, 10);
    QVERIFY(tmpl->Has("caption"));
    QVERIFY(!tmpl->Has("sysmenu"));
    const ControlTemplate& ok = tmpl->controls[0];
    QCOMPARE(ok.kind, ControlTemplate::Kind::DefPushButton);
    QCOMPARE(ok.id, 1015);
    QCOMPARE(ok.rect, QRect(6, 49, 47, 15));
    QCOMPARE(ok.text, QStringLiteral("OK"));
    QVERIFY(ok.Has("tabstop"));
    QCOMPARE(tmpl->controls[1].kind, ControlTemplate::Kind::Picture);
    QCOMPARE(tmpl->controls[1].id, -1);
    QCOMPARE(tmpl->controls[1].text, QStringLiteral("135"));
}

void TemplateFormTest::loadsTheProgramTemplatesAndRefusesUnknownIds() {
    for (int id : {100, 102, 129, 139, 140, 148, 151, 9001}) {
        const auto tmpl = DialogTemplate::Load(id);
        QVERIFY2(tmpl, qPrintable(QString::number(id)));
        QCOMPARE(tmpl->id, id);
    }
    QVERIFY(!DialogTemplate::Load(4242));
}

void TemplateFormTest::dialogUnitsRoundLikeThePlatform_data() {
    QTest::addColumn<int>("baseX");
    QTest::addColumn<int>("baseY");
    QTest::addColumn<QRect>("dlu");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("exact multiples") << 8 << 16 << QRect(4, 8, 40, 16) << QRect(8, 16, 80, 32);
    QTest::newRow("halves round up") << 6 << 12 << QRect(1, 2, 3, 1) << QRect(2, 3, 5, 2);
    QTest::newRow("below half rounds down") << 5 << 13 << QRect(1, 3, 2, 5) << QRect(1, 5, 3, 8);
    QTest::newRow("negative halves round away from zero")
        << 6 << 12 << QRect(-1, -2, 0, 0) << QRect(-2, -3, 0, 0);
    QTest::newRow("template 102 at a 6/13 font")
        << 6 << 13 << QRect(204, 100, 44, 13) << QRect(306, 163, 66, 21);
}

void TemplateFormTest::dialogUnitsRoundLikeThePlatform() {
    QFETCH(int, baseX);
    QFETCH(int, baseY);
    QFETCH(QRect, dlu);
    QFETCH(QRect, pixels);
    const CDialogUnits units(baseX, baseY);
    QCOMPARE(units.ToPixels(dlu), pixels);
    QCOMPARE(units.ToPixels(dlu.size()), pixels.size());
}

void TemplateFormTest::placesControlsAtTheirPixelRects() {
    CRecordingDialog dialog(9001);
    const DialogTemplate& tmpl = dialog.Form().Template();
    const CDialogUnits units(QFont(tmpl.fontName, tmpl.fontPoints));
    QVERIFY(units.BaseX() > 0);
    QVERIFY(units.BaseY() > 0);
    QCOMPARE(dialog.Form().PixelSize(), units.ToPixels(tmpl.size));
    QCOMPARE(dialog.size(), dialog.Form().PixelSize());
    const QList<QWidget*>& controls = dialog.Form().Controls();
    QCOMPARE(controls.size(), qsizetype(tmpl.controls.size()));
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const ControlTemplate& ctl = tmpl.controls[i];
        const QRect expected = units.ToPixels(ctl.rect);
        const QRect actual = controls[i]->geometry();
        QCOMPARE(actual.topLeft(), expected.topLeft());
        if (ctl.kind == ControlTemplate::Kind::Icon) {
            QCOMPARE(actual.size(), QSize(32, 32));
        } else if (ctl.kind == ControlTemplate::Kind::ComboBox) {
            QCOMPARE(actual.width(), expected.width());
            QVERIFY(actual.height() <= expected.height());
        } else {
            QCOMPARE(actual.size(), expected.size());
        }
    }
}

void TemplateFormTest::windowFollowsTheTemplateStyles() {
    CRecordingDialog captioned(9001);
    QCOMPARE(captioned.windowTitle(), QStringLiteral("Essai : formulaire"));
    QVERIFY(captioned.windowFlags() & Qt::WindowTitleHint);
    QVERIFY(captioned.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(captioned.windowFlags() & Qt::FramelessWindowHint));
    QVERIFY(!(captioned.windowFlags() & Qt::WindowMinimizeButtonHint));
    QCOMPARE(captioned.minimumSize(), captioned.maximumSize());

    CRecordingDialog bare(9002);
    QVERIFY(bare.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!(bare.windowFlags() & Qt::WindowCloseButtonHint));

    // Only the frameless one draws its modal frame: its edges stand out from its face.
    for (CRecordingDialog* dialog : {&captioned, &bare}) {
        QCOMPARE(dialog->windowType(), Qt::Dialog);
        const QImage image = dialog->grab().toImage();
        const QColor face = image.pixelColor(image.width() / 2, 1);
        const QColor edges[] = {image.pixelColor(0, image.height() / 2),
                                image.pixelColor(image.width() - 1, image.height() / 2),
                                image.pixelColor(image.width() / 2, image.height() - 1)};
        for (const QColor& edge : edges) {
            QCOMPARE(edge != face, dialog == &bare);
        }
    }
}

void TemplateFormTest::createsTheWidgetForEachKind_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("className");
    QTest::newRow("push button") << 57670 << "QPushButton";
    QTest::newRow("default button") << 1015 << "QPushButton";
    QTest::newRow("edit") << 1005 << "QLineEdit";
    QTest::newRow("multi-line edit") << 1014 << "QTextEdit";
    QTest::newRow("combo box") << 1000 << "QComboBox";
    QTest::newRow("radio") << 1003 << "QRadioButton";
}

void TemplateFormTest::createsTheWidgetForEachKind() {
    QFETCH(int, id);
    QFETCH(QString, className);
    CRecordingDialog dialog(9001);
    QWidget* item = dialog.GetDlgItem(id);
    QVERIFY(item);
    QVERIFY2(item->inherits(qPrintable(className)), item->metaObject()->className());
    QCOMPARE(item->parentWidget(), &dialog);
}

void TemplateFormTest::factoryMapsKindsAndStyles_data() {
    using Kind = ControlTemplate::Kind;
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("styles");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char* name, Kind kind, const QStringList& styles,
                        const char* className, const char* property, const QVariant& expected) {
        QTest::newRow(name) << int(kind) << styles << className << QByteArray(property) << expected;
    };
    const auto align = [](Qt::Alignment a) { return QVariant::fromValue(a); };
    row("button", Kind::PushButton, {}, "QPushButton", "default", false);
    row("default button", Kind::DefPushButton, {}, "QPushButton", "default", true);
    row("static", Kind::Static, {}, "QLabel", "alignment", align(Qt::AlignLeft | Qt::AlignTop));
    row("static wraps", Kind::Static, {}, "QLabel", "wordWrap", true);
    row("static plain text", Kind::Static, {}, "QLabel", "textFormat",
        QVariant::fromValue(Qt::PlainText));
    row("static right", Kind::Static, {"right"}, "QLabel", "alignment",
        align(Qt::AlignRight | Qt::AlignTop));
    row("static vcenter", Kind::Static, {"center", "vcenter"}, "QLabel", "alignment",
        align(Qt::AlignHCenter | Qt::AlignVCenter));
    row("static vcenter one line", Kind::Static, {"vcenter"}, "QLabel", "wordWrap", false);
    row("static border", Kind::Static, {"border"}, "QLabel", "frameShape",
        QVariant::fromValue(QFrame::Box));
    row("static raised", Kind::Static, {"raised"}, "QLabel", "frameShadow",
        QVariant::fromValue(QFrame::Raised));
    row("static client edge", Kind::Static, {"clientedge"}, "QLabel", "lineWidth", 2);
    row("edit", Kind::Edit, {}, "QLineEdit", "maxLength", 32767);
    row("edit without border", Kind::Edit, {"noborder"}, "QLineEdit", "frame", false);
    row("edit right", Kind::Edit, {"right"}, "QLineEdit", "alignment",
        align(Qt::AlignRight | Qt::AlignVCenter));
    row("multi-line wraps", Kind::Edit, {"multiline"}, "QTextEdit", "lineWrapMode",
        QVariant::fromValue(QTextEdit::WidgetWidth));
    row("multi-line autohscroll", Kind::Edit, {"multiline", "autohscroll"}, "QTextEdit",
        "lineWrapMode", QVariant::fromValue(QTextEdit::NoWrap));
    row("multi-line tab leaves", Kind::Edit, {"multiline"}, "QTextEdit", "tabChangesFocus", true);
    row("multi-line no scroll bar", Kind::Edit, {"multiline"}, "QTextEdit",
        "verticalScrollBarPolicy", QVariant::fromValue(Qt::ScrollBarAlwaysOff));
    row("multi-line vscroll", Kind::Edit, {"multiline", "vscroll"}, "QTextEdit",
        "verticalScrollBarPolicy", QVariant::fromValue(Qt::ScrollBarAsNeeded));
    row("multi-line hscroll", Kind::Edit, {"multiline", "hscroll"}, "QTextEdit",
        "horizontalScrollBarPolicy", QVariant::fromValue(Qt::ScrollBarAsNeeded));
    row("drop-down list", Kind::ComboBox, {"dropdownlist"}, "CDropDownCombo", "editable", false);
    row("radio", Kind::RadioButton, {}, "QRadioButton", "autoExclusive", false);
    row("group box", Kind::GroupBox, {}, "QGroupBox", "alignment", align(Qt::AlignHCenter));
    row("picture", Kind::Picture, {}, "QLabel", "alignment", align(Qt::AlignLeft | Qt::AlignTop));
    row("icon", Kind::Icon, {}, "QLabel", "size", QSize(32, 32));
}

void TemplateFormTest::factoryMapsKindsAndStyles() {
    QFETCH(int, kind);
    QFETCH(QStringList, styles);
    QFETCH(QString, className);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);
    QWidget window;
    const CControlFactory factory(&window, CDialogUnits(8, 16));
    ControlTemplate ctl;
    ctl.kind = ControlTemplate::Kind(kind);
    ctl.rect = QRect(4, 8, 40, 16);
    ctl.styles = styles;
    QWidget* widget = factory.Create(ctl);
    QCOMPARE(widget->parentWidget(), &window);
    QVERIFY2(widget->inherits(qPrintable(className)), widget->metaObject()->className());
    QCOMPARE(widget->property(property.constData()), expected);
}

void TemplateFormTest::appliesControlStyles() {
    CRecordingDialog dialog(9001);
    QCOMPARE(dialog.Item<QLineEdit>(1007)->echoMode(), QLineEdit::Password);
    QCOMPARE(dialog.Item<QLineEdit>(1005)->echoMode(), QLineEdit::Normal);
    QVERIFY(dialog.Item<QLineEdit>(1008)->isReadOnly());
    QVERIFY(!dialog.Item<QLineEdit>(1005)->isReadOnly());
    QVERIFY(!dialog.GetDlgItem(1009)->isEnabled());
    QVERIFY(dialog.GetDlgItem(1005)->isEnabled());
    QVERIFY(dialog.Item<QLineEdit>(1006)->alignment() & Qt::AlignHCenter);

    auto* status = dialog.Item<QTextEdit>(1014);
    QVERIFY(status->isReadOnly());
    QCOMPARE(status->frameShape(), QFrame::NoFrame);
    QVERIFY(status->document()->defaultTextOption().alignment() & Qt::AlignHCenter);
    QVERIFY(!dialog.Item<QTextEdit>(1016)->isReadOnly());

    QVERIFY(!dialog.Item<QComboBox>(1000)->isEditable());
    QVERIFY(dialog.Item<QComboBox>(1001)->isEditable());

    QVERIFY(dialog.Item<QPushButton>(1015)->isDefault());
    for (int id : {57670, 1015, 1, 2}) {
        QVERIFY(!dialog.Item<QPushButton>(id)->isDefault() || id == 1015);
        QVERIFY(!dialog.Item<QPushButton>(id)->autoDefault());
    }

    auto* group = dialog.findChild<QGroupBox*>();
    QVERIFY(group);
    QCOMPARE(group->title(), QStringLiteral("Choix"));
    QCOMPARE(group->alignment(), Qt::AlignHCenter);
    // Behind the radio buttons it frames.
    const QObjectList siblings = dialog.children();
    QVERIFY(siblings.indexOf(group) < siblings.indexOf(dialog.GetDlgItem(1003)));

    const QList<QWidget*>& controls = dialog.Form().Controls();
    auto* idLabel = qobject_cast<QLabel*>(controls[1]);
    QVERIFY(idLabel);
    QCOMPARE(idLabel->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    QCOMPARE(idLabel->frameShadow(), QFrame::Sunken);
    auto* picture = qobject_cast<QLabel*>(controls[15]);
    QVERIFY(picture && !picture->pixmap().isNull());
    auto* icon = qobject_cast<QLabel*>(controls[16]);
    QVERIFY(icon && !icon->pixmap().isNull());
}

void TemplateFormTest::tabOrderFollowsTheTemplateAmongTabStops() {
    CRecordingDialog dialog(9001);
    const QList<int> expected = {57670, 1005, 1006, 1007, 1008, 1009, 1014,
                                 1000,  1001, 1003, 1004, 1021, 1015, 2};
    // Inner widgets (the line edit of an editable combo box) stand in the chain too.
    const QList<QWidget*>& controls = dialog.Form().Controls();
    QWidget* widget = dialog.GetDlgItem(expected.first());
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QWidget* next = widget->nextInFocusChain();
        while ((next->focusPolicy() != Qt::StrongFocus || !controls.contains(next)) &&
               next != widget) {
            next = next->nextInFocusChain();
        }
        QCOMPARE(next, dialog.GetDlgItem(expected[i]));
        widget = next;
    }
    QCOMPARE(dialog.GetDlgItem(1)->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(dialog.GetDlgItem(1016)->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(dialog.Form().Controls()[1]->focusPolicy(), Qt::NoFocus);
}

void TemplateFormTest::mnemonicLabelsHandTheFocusOn() {
    CRecordingDialog dialog(9001);
    auto* idLabel = qobject_cast<QLabel*>(dialog.Form().Controls()[1]);
    QCOMPARE(idLabel->buddy(), dialog.GetDlgItem(1005));
    // Nothing with a tab stop follows: the marker is dropped rather than shown.
    auto* loose = qobject_cast<QLabel*>(dialog.Form().Controls().last());
    QCOMPARE(loose->buddy(), nullptr);
    QCOMPARE(loose->text(), QStringLiteral("Sans lien"));
}

void TemplateFormTest::radiosAreExclusiveWithinTheirGroupRun() {
    CRecordingDialog dialog(9001);
    dialog.show();
    auto* one = dialog.Item<QRadioButton>(1003);
    auto* two = dialog.Item<QRadioButton>(1004);
    auto* alone = dialog.Item<QRadioButton>(1021);
    QCOMPARE(dialog.Form().RadioGroup(1003), (QList<QRadioButton*>{one, two}));
    QCOMPARE(dialog.Form().RadioGroup(1021), (QList<QRadioButton*>{alone}));

    QTest::mouseClick(one, Qt::LeftButton);
    QTest::mouseClick(alone, Qt::LeftButton);
    QVERIFY(one->isChecked());
    QVERIFY(alone->isChecked());
    QTest::mouseClick(two, Qt::LeftButton);
    QVERIFY(two->isChecked());
    QVERIFY(!one->isChecked());
    QVERIFY(alone->isChecked());
    // A click on the checked radio of a run leaves it checked.
    QTest::mouseClick(alone, Qt::LeftButton);
    QVERIFY(alone->isChecked());
    QTest::mouseClick(two, Qt::LeftButton);
    QVERIFY(two->isChecked());

    // The program sets each one on its own, unchecking included: pages whose radios each
    // start a group of their own clear the others themselves.
    alone->setChecked(false);
    QVERIFY(!alone->isChecked());
    one->setChecked(true);
    QVERIFY(one->isChecked() && two->isChecked());
    two->setChecked(false);
    QVERIFY(one->isChecked() && !two->isChecked());
}

void TemplateFormTest::forwardsClicksAndEditChanges() {
    CRecordingDialog dialog(9001);
    dialog.show();
    QTest::mouseClick(dialog.Item<QPushButton>(1015), Qt::LeftButton);
    QTest::mouseClick(dialog.Item<QRadioButton>(1004), Qt::LeftButton);
    QTest::mouseClick(dialog.Item<QPushButton>(2), Qt::LeftButton);
    QCOMPARE(dialog.commands.size(), size_t(3));
    QCOMPARE(dialog.commands[0], 1015);
    QCOMPARE(dialog.commands[1], 1004);
    QCOMPARE(dialog.commands[2], 2);
    QCOMPARE(dialog.exchangeRuns, 0);

    QTest::keyClicks(dialog.GetDlgItem(1005), "12");
    dialog.Item<QTextEdit>(1016)->setPlainText("x");
    dialog.Item<QComboBox>(1001)->setEditText("COM9");
    QCOMPARE(dialog.editChanges, (std::vector<int>{1005, 1005, 1016}));
}

void TemplateFormTest::screenWritesRaiseNoEditNotifications() {
    CRecordingDialog dialog(9001);
    int32_t number = 5;
    QString status = QStringLiteral("\r\n Emission en cours ...");
    int nestedResult = -1;
    int nestedExchanges = -1;
    dialog.exchange = [&](CDataExchange& dx) {
        dx.Int(1005, number);
        dx.Text(1014, status);
    };
    // A handler that reacts to the write by starting another exchange must not get one.
    QObject::connect(dialog.Item<QLineEdit>(1005), &QLineEdit::textChanged, &dialog, [&] {
        const int before = dialog.exchangeRuns;
        nestedResult = dialog.UpdateData(true);
        nestedExchanges = dialog.exchangeRuns - before;
    });
    QVERIFY(dialog.UpdateData(false));
    QCOMPARE(dialog.Item<QLineEdit>(1005)->text(), QStringLiteral("5"));
    QVERIFY(dialog.editChanges.empty());
    QCOMPARE(nestedResult, 1);
    QCOMPARE(nestedExchanges, 0);
    QVERIFY(!dialog.Form().IsWritingToScreen());

    // Outside a write, the same handler does start an exchange.
    dialog.Item<QLineEdit>(1005)->setText("6");
    QCOMPARE(nestedExchanges, 1);
    QCOMPARE(number, 6);
    QCOMPARE(dialog.editChanges, std::vector<int>{1005});
}

void TemplateFormTest::enterGoesToTheFocusedButtonElseTheDefault() {
    CRecordingDialog dialog(9001);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.GetDlgItem(1005)->setFocus();
    QCOMPARE(dialog.Form().EnterCommandId(), 1015);
    dialog.GetDlgItem(2)->setFocus();
    QCOMPARE(dialog.Form().EnterCommandId(), 2);
    dialog.GetDlgItem(1003)->setFocus();
    QCOMPARE(dialog.Form().EnterCommandId(), 1015);

    CRecordingDialog plain(9002);
    QCOMPARE(plain.Form().DefaultButtonId(), 1);
    QCOMPARE(plain.Form().EnterCommandId(), 1);
}

void TemplateFormTest::focusesTheFirstEnabledTabStop() {
    CRecordingDialog dialog(9001);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.Form().FocusFirstTabStop();
    QCOMPARE(QApplication::focusWidget(), dialog.GetDlgItem(57670));
    dialog.GetDlgItem(57670)->hide();
    dialog.Form().FocusFirstTabStop();
    QCOMPARE(QApplication::focusWidget(), dialog.GetDlgItem(1005));

    CRecordingDialog bare(9002);
    bare.show();
    QVERIFY(QTest::qWaitForWindowActive(&bare));
    bare.Form().FocusFirstTabStop();
    QCOMPARE(QApplication::focusWidget(), bare.GetDlgItem(1006));
}

void TemplateFormTest::limitsLineEdits() {
    CRecordingDialog dialog(9001);
    dialog.show();
    auto* edit = dialog.Item<QLineEdit>(1005);
    dialog.Form().LimitText(1005, 1);
    edit->setFocus();
    QTest::keyClicks(edit, "ab");
    QCOMPARE(edit->text(), QStringLiteral("a"));
    dialog.Form().EnableItem(1005, false);
    QVERIFY(!edit->isEnabled());
}

void TemplateFormTest::sortedComboKeepsTextOrderWithoutCase_data() {
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QList<int>>("indexes");
    QTest::newRow("login identities") << QStringList{"Client", "Administateur"}
                                      << QStringList{"Administateur", "Client"} << QList<int>{0, 0};
    QTest::newRow("ports as text") << QStringList{"COM2", "COM10", "COM1"}
                                   << QStringList{"COM1", "COM10", "COM2"} << QList<int>{0, 0, 0};
    QTest::newRow("case is ignored") << QStringList{"b", "A", "a", "B"}
                                     << QStringList{"A", "a", "b", "B"} << QList<int>{0, 0, 1, 3};
}

void TemplateFormTest::sortedComboKeepsTextOrderWithoutCase() {
    QFETCH(QStringList, added);
    QFETCH(QStringList, shown);
    QFETCH(QList<int>, indexes);
    QComboBox combo;
    for (qsizetype i = 0; i < added.size(); ++i) {
        QCOMPARE(AddSortedString(&combo, added[i], int(i)), indexes[i]);
    }
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i) {
        texts << combo.itemText(i);
        QCOMPARE(added[combo.itemData(i).toInt()], combo.itemText(i));
    }
    QCOMPARE(texts, shown);
}

void TemplateFormTest::stringTableHoldsTheValidationMessages() {
    QCOMPARE(LoadString(IDS_PARSE_INT), QStringLiteral("Tapez un nombre entier."));
    QCOMPARE(LoadString(IDS_PARSE_INT_RANGE),
             QStringLiteral("Tapez un nombre entier compris entre %1 et %2."));
    QCOMPARE(LoadString(IDS_PARSE_STRING_SIZE), QStringLiteral("Tapez %1 caractères au maximum."));
    QCOMPARE(LoadString(IDS_ABOUTBOX), QStringLiteral("&A propos de DevOv7305..."));
    QVERIFY(LoadString(4242).isEmpty());
}

ZAV_TEST_CLASS(TemplateFormTest);
#include "tst_template_form.moc"
