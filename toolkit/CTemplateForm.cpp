#include "CTemplateForm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include "CControlFactory.h"
#include "CDataExchange.h"
#include "CDialogUnits.h"
#include "PressGuard.h"

namespace {

bool CanTakeFocus(ControlTemplate::Kind kind) {
    using Kind = ControlTemplate::Kind;
    return kind != Kind::Static && kind != Kind::GroupBox && kind != Kind::Picture &&
           kind != Kind::Icon;
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
    const CControlFactory factory(window, CDialogUnits(TemplateFont()));
    for (const ControlTemplate& ctl : tmpl.controls) {
        QWidget* widget = factory.Create(ctl);
        Connect(widget, ctl.id);
        controls << widget;
        if (ctl.id != -1 && !items.contains(ctl.id)) {
            items.insert(ctl.id, widget);
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

void CTemplateForm::Connect(QWidget* widget, int id) {
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        connect(radio, &QRadioButton::clicked, this,
                [this, radio, id] { RadioClicked(radio, id); });
    } else if (auto* button = qobject_cast<QPushButton*>(widget); button && id != -1) {
        PressGuard::OnClicked(button, this, [this, id] { client.OnCommand(id); });
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        connect(line, &QLineEdit::textChanged, this, [this, id] { EditChanged(id); });
    } else if (auto* text = qobject_cast<QTextEdit*>(widget)) {
        connect(text, &QTextEdit::textChanged, this, [this, id] { EditChanged(id); });
    }
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
        edit->setMaxLength(maxChars > 0 ? maxChars : CControlFactory::kMaxEditChars);
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

#include "moc_CTemplateForm.cpp"
