#include "CControlFactory.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>

#include "CAutoRadioButton.h"
#include "CDropDownCombo.h"

namespace {

constexpr int kIconSize = 32;

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

void UseWindowBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    widget->setPalette(palette);
}

}  // namespace

CControlFactory::CControlFactory(QWidget* window, const CDialogUnits& units)
    : window(window), units(units) {}

QWidget* CControlFactory::Create(const ControlTemplate& ctl) const {
    QWidget* widget = CreateWidget(ctl);
    Place(widget, ctl);
    if (ctl.Has("disabled")) {
        widget->setEnabled(false);
    }
    return widget;
}

QWidget* CControlFactory::CreateWidget(const ControlTemplate& ctl) const {
    using Kind = ControlTemplate::Kind;
    switch (ctl.kind) {
        case Kind::PushButton:
        case Kind::DefPushButton:
            return CreateButton(ctl);
        case Kind::Edit:
            return ctl.Has("multiline") ? CreateMultiLineEdit(ctl) : CreateEdit(ctl);
        case Kind::ComboBox:
            return CreateComboBox(ctl);
        case Kind::RadioButton:
            return new CAutoRadioButton(ctl.text, window);
        case Kind::GroupBox: {
            auto* box = new QGroupBox(ctl.text, window);
            box->setAlignment(Qt::AlignHCenter);
            return box;
        }
        case Kind::Picture:
        case Kind::Icon:
            return CreateImage(ctl);
        case Kind::Static:
            break;
    }
    return CreateStatic(ctl);
}

void CControlFactory::Place(QWidget* widget, const ControlTemplate& ctl) const {
    QRect rect = units.ToPixels(ctl.rect);
    if (ctl.kind == ControlTemplate::Kind::ComboBox) {
        // The template gives the height with the list dropped down.
        rect.setHeight(qMin(rect.height(), widget->sizeHint().height()));
    } else if (ctl.kind == ControlTemplate::Kind::Icon) {
        rect.setSize(QSize(kIconSize, kIconSize));
    }
    widget->setGeometry(rect);
}

QWidget* CControlFactory::CreateButton(const ControlTemplate& ctl) const {
    auto* button = new QPushButton(ctl.text, window);
    button->setAutoDefault(false);
    if (ctl.kind == ControlTemplate::Kind::DefPushButton) {
        button->setDefault(true);
    }
    return button;
}

QWidget* CControlFactory::CreateStatic(const ControlTemplate& ctl) const {
    auto* label = new QLabel(ctl.text, window);
    label->setTextFormat(Qt::PlainText);
    const bool vcenter = ctl.Has("vcenter");
    label->setAlignment(HorizontalAlignment(ctl) | (vcenter ? Qt::AlignVCenter : Qt::AlignTop));
    label->setWordWrap(!vcenter);
    ApplyStaticFrame(label, ctl);
    return label;
}

QWidget* CControlFactory::CreateMultiLineEdit(const ControlTemplate& ctl) const {
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
    return edit;
}

QWidget* CControlFactory::CreateEdit(const ControlTemplate& ctl) const {
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
    return edit;
}

QWidget* CControlFactory::CreateComboBox(const ControlTemplate& ctl) const {
    auto* combo = new CDropDownCombo(window);
    combo->setEditable(!ctl.Has("dropdownlist"));
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QWidget* CControlFactory::CreateImage(const ControlTemplate& ctl) const {
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
