#include "CJournalChoice.h"

#include <QFileDialog>
#include <QPushButton>
#include <cstring>
#include <utility>

#include "CEditorJournal.h"
#include "CMyPropSheet.h"
#include "EditorTexts.h"
#include "JournalSettings.h"
#include "MessageBoxes.h"

namespace {

QString ChooseJournalFolder(QWidget* parent, const QString& current) {
    return QFileDialog::getExistingDirectory(parent, QString::fromUtf8(EditorTexts::kJournalButton),
                                             current);
}

}  // namespace

CJournalChoice::CJournalChoice(CEditorJournal& journal, std::function<void()> chosen)
    : journal(journal), chosen(std::move(chosen)), chooser(ChooseJournalFolder) {}

void CJournalChoice::Install(CMyPropSheet& sheet) {
    window = &sheet;
    button = new QPushButton(QString::fromUtf8(EditorTexts::kJournalButton));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, &CJournalChoice::Choose);
    sheet.AddToRowStart(button);
}

void CJournalChoice::SetFolderChooser(FolderChooser newChooser) {
    chooser = std::move(newChooser);
}

void CJournalChoice::Choose() {
    const QString folder = chooser(window, QString::fromStdString(journal.Folder()));
    if (folder.isEmpty()) {
        return;
    }
    if (const int err = JournalSettings::ChooseFolder(folder.toStdString()); err != 0) {
        AfxMessageBox(QString::fromUtf8(EditorTexts::kJournalNotKept)
                          .arg(folder, QString::fromLocal8Bit(std::strerror(err))));
        return;
    }
    journal.SetFolder(folder.toStdString());
    chosen();
}

#include "moc_CJournalChoice.cpp"
