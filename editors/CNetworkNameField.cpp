#include "CNetworkNameField.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <utility>

#include "CEditorJournal.h"
#include "CLastNetworkName.h"
#include "CMyPropSheet.h"
#include "EditorTexts.h"
#include "MessageBoxes.h"

CNetworkNameField::CNetworkNameField(CEditorJournal& journal, int32_t repeaterCount,
                                     const CLastNetworkName& lastName,
                                     std::function<void()> changed,
                                     std::function<bool()> hasRecords)
    : journal(journal),
      repeaterCount(repeaterCount),
      lastName(lastName),
      changed(std::move(changed)),
      hasRecords(std::move(hasRecords)),
      name(lastName.Load()) {
    journal.SetNetwork(name.toStdString(), repeaterCount);
}

void CNetworkNameField::Install(CMyPropSheet& sheet) {
    auto* label = new QLabel(QString::fromUtf8(EditorTexts::kNetworkLabel));
    field = new QLineEdit(name);
    field->setAccessibleName(QString::fromUtf8(EditorTexts::kNetworkName));
    label->setBuddy(field);
    connect(field, &QLineEdit::editingFinished, this, &CNetworkNameField::OnEdited);
    field->installEventFilter(this);
    sheet.AddToRowStart(label);
    sheet.AddToRowStart(field);
}

void CNetworkNameField::OnEdited() {
    // The question takes the focus from the field, which tells the edit as finished again.
    if (asking) {
        return;
    }
    asking = true;
    SetName(field->text());
    asking = false;
}

void CNetworkNameField::SetName(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (field != nullptr && field->text() != trimmed) {
        field->setText(trimmed);
    }
    if (trimmed == name) {
        return;
    }
    if (!MayLeave(trimmed)) {
        if (field != nullptr) {
            field->setText(name);
        }
        return;
    }
    name = trimmed;
    lastName.Save(name);
    journal.SetNetwork(name.toStdString(), repeaterCount);
    changed();
}

// An unnamed network is not followed from one day to the next: naming it asks nothing.
bool CNetworkNameField::MayLeave(const QString& newName) const {
    if (name.isEmpty() || !hasRecords()) {
        return true;
    }
    QWidget* owner = field != nullptr ? field->window() : nullptr;
    return AskYesNo(owner, owner != nullptr ? owner->windowTitle() : QString(),
                    QString::fromUtf8(EditorTexts::kRenameNetwork).arg(name, newName));
}

bool CNetworkNameField::eventFilter(QObject* watched, QEvent* event) {
    if (watched != field || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnEdited();
            return true;
        case Qt::Key_Escape:
            field->setText(name);
            return true;
        default:
            return false;
    }
}

#include "moc_CNetworkNameField.cpp"
