#pragma once

#include <QObject>
#include <QString>
#include <functional>

class CEditorJournal;
class CMyPropSheet;
class QPushButton;
class QWidget;

// The sheet's journal button: the user chooses the journal's folder (a folder a team shares
// through a sync tool, for instance); the choice is kept in the user's settings, later
// exchanges are written there and the map is read from it.
class CJournalChoice : public QObject {
    Q_OBJECT
public:
    // The folder chosen; empty when the user gave up.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& current)>;

    // `chosen` runs once the journal writes into the new folder.
    CJournalChoice(CEditorJournal& journal, std::function<void()> chosen);

    // Once, when the sheet's window is built.
    void Install(CMyPropSheet& sheet);
    void Choose();
    void SetFolderChooser(FolderChooser chooser);
    QPushButton* Button() const { return button; }

private:
    CEditorJournal& journal;
    std::function<void()> chosen;
    FolderChooser chooser;
    QWidget* window = nullptr;
    QPushButton* button = nullptr;
};
