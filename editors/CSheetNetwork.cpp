#include "CSheetNetwork.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "CEditorJournal.h"
#include "CLastNetworkName.h"
#include "CMyPropSheet.h"
#include "CNetworkMapView.h"
#include "EditorTexts.h"
#include "MessageBoxes.h"

namespace {

QString ChooseReportPath(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, QString::fromUtf8(EditorTexts::kReportButton),
                                        suggested,
                                        QStringLiteral("PDF (*.pdf);;HTML (*.html *.htm)"));
}

}  // namespace

CSheetNetwork::CSheetNetwork(const Setup& setup)
    : journal(setup.journal),
      repeaterCount(setup.repeaterCount),
      lastName(setup.lastName),
      name(setup.lastName.Load()),
      chooser(ChooseReportPath) {
    journal.SetNetwork(name.toStdString(), repeaterCount);
}

CSheetNetwork::~CSheetNetwork() = default;

void CSheetNetwork::Install(CMyPropSheet& sheet) {
    if (window != nullptr) {
        return;
    }
    window = &sheet;
    auto* label = new QLabel(QString::fromUtf8(EditorTexts::kNetworkLabel));
    nameField = new QLineEdit(name);
    nameField->setAccessibleName(QString::fromUtf8(EditorTexts::kNetworkName));
    label->setBuddy(nameField);
    connect(nameField, &QLineEdit::editingFinished, this, &CSheetNetwork::OnNameEdited);
    nameField->installEventFilter(this);
    reportButton = new QPushButton(QString::fromUtf8(EditorTexts::kReportButton));
    reportButton->setAutoDefault(false);
    connect(reportButton, &QPushButton::clicked, this, &CSheetNetwork::SaveReport);
    for (QWidget* widget : {static_cast<QWidget*>(label), static_cast<QWidget*>(nameField),
                            static_cast<QWidget*>(reportButton)}) {
        sheet.AddToRowStart(widget);
    }
    view = new CNetworkMapView;
    // Beside the pages and no taller than they are: the map never pushes them away.
    view->setMaximumHeight(sheet.GetTabControl()->sizeHint().height());
    sheet.SetBesidePages(view);
    Rebuild();
}

void CSheetNetwork::OnNameEdited() {
    SetName(nameField->text());
}

void CSheetNetwork::SetName(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (nameField != nullptr && nameField->text() != trimmed) {
        nameField->setText(trimmed);
    }
    if (trimmed == name) {
        return;
    }
    name = trimmed;
    lastName.Save(name);
    journal.SetNetwork(name.toStdString(), repeaterCount);
    Rebuild();
}

void CSheetNetwork::SetPathChooser(PathChooser newChooser) {
    chooser = std::move(newChooser);
}

bool CSheetNetwork::eventFilter(QObject* watched, QEvent* event) {
    if (watched != nameField || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnNameEdited();
            return true;
        case Qt::Key_Escape:
            nameField->setText(name);
            return true;
        default:
            return false;
    }
}

void CSheetNetwork::Rebuild() {
    view->SetBands(repeaterCount);
}

void CSheetNetwork::Follow() {}

void CSheetNetwork::ShowNext(int32_t deviceId, int32_t modemParam) {
    if (view != nullptr) {
        view->HighlightDevice(deviceId);
        view->HighlightModemParam(modemParam);
    }
}

void CSheetNetwork::SaveReport() {}
