#include "CTemplateForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include "CAutoRadioButton.h"
#include "CDataExchange.h"
#include "CDialogUnits.h"
#include "CDropDownCombo.h"

namespace {

constexpr int kIconSize = 32;
constexpr int kMaxEditChars = 32767;

bool CanTakeFocus(ControlTemplate::Kind kind) {
    using Kind = ControlTemplate::Kind;
    return kind != Kind::Static && kind != Kind::GroupBox && kind != Kind::Picture &&
           kind != Kind::Icon;
}

Qt::Alignment HorizontalAlignment(const ControlTemplate& ctl) {
    if (ctl.Has("center")) {
        return Qt::AlignHCenter;
    }
    return ctl.Has("right") ? Qt::AlignRight : Qt::AlignLeft;
}

void ApplyStaticFrame(QFrame* frame, const ControlTemplate& ctl) {
    if (ctl.Has("border")) {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    if (ctl.Has("sunken") || ctl.Has("staticedge")) {
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    if (ctl.Has("clientedge")) {
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setLineWidth(2);
    }
    if (ctl.Has("raised")) {
        frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    }
}

// Text without mnemonic markers, for statics that have nothing to hand the focus to.
QString StripMnemonics(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        plain += text[i];
    }
    return plain;
}

void UseWindowBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    widget->setPalette(palette);
}

}  // namespace

CTemplateForm::CTemplateForm(const DialogTemplate& tmpl, QWidget* window, ITemplateClient& client)
    : tmpl(tmpl), window(window), client(client) {
    window->setFont(TemplateFont());
    CreateControls();
    ConfigureWindow();
}

QFont CTemplateForm::TemplateFont() const {
    return QFont(tmpl.fontName, tmpl.fontPoints);
}

QSize CTemplateForm::PixelSize() const {
    return CDialogUnits(TemplateFont()).ToPixels(tmpl.size);
}

QWidget* CTemplateForm::Item(int id) const {
    return items.value(id, nullptr);
}

void CTemplateForm::CreateControls() {
    const CDialogUnits units(TemplateFont());
    for (const ControlTemplate& ctl : tmpl.controls) {
        QWidget* widget = CreateControl(ctl, units);
        controls << widget;
        if (ctl.id != -1 && !items.contains(ctl.id)) {
            items.insert(ctl.id, widget);
        }
        if (ctl.Has("disabled")) {
            widget->setEnabled(false);
        }
    }
    GroupRadios();
    SetBuddies();
    SetTabOrder();
    for (QWidget* widget : controls) {
        if (qobject_cast<QGroupBox*>(widget) != nullptr) {
            widget->lower();
        }
    }
}

QWidget* CTemplateForm::CreateControl(const ControlTemplate& ctl, const CDialogUnits& units) {
    using Kind = ControlTemplate::Kind;
    QWidget* widget = nullptr;
    switch (ctl.kind) {
        case Kind::PushButton:
        case Kind::DefPushButton:
            widget = CreateButton(ctl);
            break;
        case Kind::Static:
            widget = CreateStatic(ctl);
            break;
        case Kind::Edit:
            widget = CreateEdit(ctl);
            break;
        case Kind::ComboBox:
            widget = CreateComboBox(ctl);
            break;
        case Kind::RadioButton:
            widget = CreateRadio(ctl);
            break;
        case Kind::GroupBox: {
            auto* box = new QGroupBox(ctl.text, window);
            box->setAlignment(Qt::AlignHCenter);
            widget = box;
            break;
        }
        case Kind::Picture:
        case Kind::Icon:
            widget = CreateImage(ctl);
            break;
    }
    QRect rect = units.ToPixels(ctl.rect);
    if (ctl.kind == Kind::ComboBox) {
        // The template gives the height with the list dropped down.
        rect.setHeight(qMin(rect.height(), widget->sizeHint().height()));
    } else if (ctl.kind == Kind::Icon) {
        rect.setSize(QSize(kIconSize, kIconSize));
    }
    widget->setGeometry(rect);
    return widget;
}

QWidget* CTemplateForm::CreateButton(const ControlTemplate& ctl) {
    auto* button = new QPushButton(ctl.text, window);
    button->setAutoDefault(false);
    if (ctl.kind == ControlTemplate::Kind::DefPushButton) {
        button->setDefault(true);
    }
    const int id = ctl.id;
    if (id != -1) {
        connect(button, &QPushButton::clicked, this, [this, id] { client.OnCommand(id); });
    }
    return button;
}

QWidget* CTemplateForm::CreateStatic(const ControlTemplate& ctl) {
    auto* label = new QLabel(ctl.text, window);
    label->setTextFormat(Qt::PlainText);
    const bool vcenter = ctl.Has("vcenter");
    label->setAlignment(HorizontalAlignment(ctl) | (vcenter ? Qt::AlignVCenter : Qt::AlignTop));
    label->setWordWrap(!vcenter);
    ApplyStaticFrame(label, ctl);
    return label;
}

QWidget* CTemplateForm::CreateEdit(const ControlTemplate& ctl) {
    const int id = ctl.id;
    if (ctl.Has("multiline")) {
        auto* edit = new QTextEdit(window);
        edit->setAcceptRichText(false);
        edit->setTabChangesFocus(true);
        edit->setReadOnly(ctl.Has("readonly"));
        QTextOption option = edit->document()->defaultTextOption();
        option.setAlignment(HorizontalAlignment(ctl));
        edit->document()->setDefaultTextOption(option);
        edit->setLineWrapMode(ctl.Has("autohscroll") ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy(ctl.Has("vscroll") ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(ctl.Has("hscroll") ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
        if (ctl.Has("noborder")) {
            edit->setFrameShape(QFrame::NoFrame);
        }
        if (ctl.Has("readonly") || ctl.Has("transparent")) {
            UseWindowBackground(edit);
        }
        connect(edit, &QTextEdit::textChanged, this, [this, id] { EditChanged(id); });
        return edit;
    }
    auto* edit = new QLineEdit(ctl.text, window);
    edit->setAlignment(HorizontalAlignment(ctl) | Qt::AlignVCenter);
    edit->setReadOnly(ctl.Has("readonly"));
    edit->setFrame(!ctl.Has("noborder"));
    edit->setMaxLength(kMaxEditChars);
    if (ctl.Has("password")) {
        edit->setEchoMode(QLineEdit::Password);
    }
    if (ctl.Has("readonly")) {
        UseWindowBackground(edit);
    }
    connect(edit, &QLineEdit::textChanged, this, [this, id] { EditChanged(id); });
    return edit;
}

QWidget* CTemplateForm::CreateComboBox(const ControlTemplate& ctl) {
    auto* combo = new CDropDownCombo(window);
    combo->setEditable(!ctl.Has("dropdownlist"));
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QWidget* CTemplateForm::CreateRadio(const ControlTemplate& ctl) {
    auto* radio = new CAutoRadioButton(ctl.text, window);
    const int id = ctl.id;
    connect(radio, &QRadioButton::clicked, this, [this, radio, id] { RadioClicked(radio, id); });
    return radio;
}

void CTemplateForm::RadioClicked(QRadioButton* radio, int id) {
    for (QRadioButton* other : radioRuns.value(radio)) {
        if (other != radio) {
            other->setChecked(false);
        }
    }
    if (id != -1) {
        client.OnCommand(id);
    }
}

QWidget* CTemplateForm::CreateImage(const ControlTemplate& ctl) {
    auto* label = new QLabel(window);
    if (ctl.kind == ControlTemplate::Kind::Icon) {
        const QIcon icon(QStringLiteral(":/icons/%1.ico").arg(ctl.text));
        label->setPixmap(icon.pixmap(kIconSize, kIconSize));
    } else {
        label->setPixmap(QPixmap(QStringLiteral(":/bitmaps/%1.bmp").arg(ctl.text)));
    }
    label->setAlignment(ctl.Has("center") ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    ApplyStaticFrame(label, ctl);
    return label;
}

bool CTemplateForm::HasOwnModalFrame() const {
    return window && window->isWindow() && tmpl.Has("modalframe") && !tmpl.Has("caption");
}

void CTemplateForm::ConfigureWindow() {
    if (!window->isWindow()) {
        window->setFixedSize(PixelSize());
        return;
    }
    // A window with its own task-bar button must not be a transient dialog: desktops leave
    // those out of the task bar. Without a caption bar the window manager would draw no
    // frame at all, so the window draws its modal frame itself (HasOwnModalFrame).
    Qt::WindowFlags flags = tmpl.Has("appwindow") ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    flags |= tmpl.Has("caption") ? Qt::WindowTitleHint : Qt::FramelessWindowHint;
    if (tmpl.Has("sysmenu")) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (tmpl.Has("minimizebox")) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    window->setWindowFlags(flags);
    window->setWindowTitle(tmpl.caption);
    window->setFixedSize(PixelSize());
}

void CTemplateForm::GroupRadios() {
    for (qsizetype i = 0; i < controls.size(); ++i) {
        if (auto* radio = qobject_cast<QRadioButton*>(controls[i])) {
            radioRuns.insert(radio, RadioGroupAt(i));
        }
    }
}

void CTemplateForm::SetBuddies() {
    for (qsizetype i = 0; i < controls.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(controls[i]);
        const ControlTemplate& ctl = tmpl.controls[i];
        if (label == nullptr || ctl.kind != ControlTemplate::Kind::Static ||
            !ctl.text.contains(QLatin1Char('&'))) {
            continue;
        }
        QWidget* buddy = nullptr;
        for (qsizetype j = i + 1; j < controls.size() && buddy == nullptr; ++j) {
            if (tmpl.controls[j].Has("tabstop")) {
                buddy = controls[j];
            }
        }
        if (buddy != nullptr && !ctl.Has("noprefix")) {
            label->setTextFormat(Qt::AutoText);
            label->setBuddy(buddy);
        } else if (!ctl.Has("noprefix")) {
            label->setText(StripMnemonics(ctl.text));
        }
    }
}

void CTemplateForm::SetTabOrder() {
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const ControlTemplate& ctl = tmpl.controls[i];
        QWidget* widget = controls[i];
        if (ctl.Has("tabstop")) {
            widget->setFocusPolicy(Qt::StrongFocus);
            tabOrder << widget;
        } else {
            widget->setFocusPolicy(CanTakeFocus(ctl.kind) ? Qt::ClickFocus : Qt::NoFocus);
        }
    }
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

void CTemplateForm::EditChanged(int id) {
    if (!writingToScreen) {
        client.OnEditChange(id);
    }
}

bool CTemplateForm::UpdateData(bool saveAndValidate) {
    // A write to the screen raises change notifications; an exchange started from one of
    // them would read half-written fields.
    if (writingToScreen) {
        return true;
    }
    writingToScreen = !saveAndValidate;
    CDataExchange dx(*this, saveAndValidate);
    client.DoDataExchange(dx);
    writingToScreen = false;
    return !dx.Failed();
}

int CTemplateForm::DefaultButtonId() const {
    for (const ControlTemplate& ctl : tmpl.controls) {
        if (ctl.kind == ControlTemplate::Kind::DefPushButton) {
            return ctl.id;
        }
    }
    return 1;
}

int CTemplateForm::EnterCommandId() const {
    QWidget* focus = window ? window->focusWidget() : nullptr;
    if (qobject_cast<QPushButton*>(focus) != nullptr) {
        const int id = items.key(focus, -1);
        if (id != -1) {
            return id;
        }
    }
    return DefaultButtonId();
}

void CTemplateForm::FocusFirstTabStop() {
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QWidget* widget = controls[i];
        if (tmpl.controls[i].Has("tabstop") && widget->isEnabled() && widget->isVisibleTo(window)) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CTemplateForm::RepaintItem(int id) {
    QWidget* widget = Item(id);
    if (widget == nullptr) {
        return;
    }
    widget->repaint();
    if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
        edit->viewport()->repaint();
    }
}

void CTemplateForm::LimitText(int id, int maxChars) {
    if (auto* edit = ItemAs<QLineEdit>(id)) {
        edit->setMaxLength(maxChars > 0 ? maxChars : kMaxEditChars);
    }
}

void CTemplateForm::EnableItem(int id, bool enable) {
    if (QWidget* widget = Item(id)) {
        widget->setEnabled(enable);
    }
}

QList<QRadioButton*> CTemplateForm::RadioGroup(int firstId) const {
    for (qsizetype i = 0; i < controls.size(); ++i) {
        if (tmpl.controls[i].id == firstId) {
            return RadioGroupAt(i);
        }
    }
    return {};
}

// The group a control belongs to runs from the last control at or before it that starts a
// group up to the next one that does.
QList<QRadioButton*> CTemplateForm::RadioGroupAt(qsizetype index) const {
    qsizetype first = index;
    while (first > 0 && !tmpl.controls[first].Has("group")) {
        --first;
    }
    QList<QRadioButton*> group;
    for (qsizetype i = first; i < controls.size(); ++i) {
        if (i > first && tmpl.controls[i].Has("group")) {
            break;
        }
        if (auto* radio = qobject_cast<QRadioButton*>(controls[i])) {
            group << radio;
        }
    }
    return group;
}
