#include "CEditorHost.h"

#include <utility>

#include "CEditorJournal.h"
#include "MessageBoxes.h"
#include "VerdictDisplay.h"

CEditorHost::CEditorHost(Editor editor, CEditorJournal* journal)
    : editor(std::move(editor)), journal(journal) {}

void CEditorHost::SetJournal(CEditorJournal* newJournal) {
    journal = newJournal;
}

void CEditorHost::SetStatusText(const std::string& text) {
    editor.statusText = QString::fromStdString(text);
}

void CEditorHost::Refresh() {
    editor.refresh();
}

void CEditorHost::RepaintStatus() {
    editor.repaintStatus();
}

void CEditorHost::ShowMessage(const std::string& text) {
    AfxMessageBox(QString::fromStdString(text));
}

void CEditorHost::ShowPortFailure(const std::string& text, const std::string& cause,
                                  const std::string& systemError) {
    AfxPortFailureBox(QString::fromStdString(text), QString::fromStdString(cause),
                      QString::fromStdString(systemError));
}

void CEditorHost::AfterConfigSent(int32_t id) {
    if (editor.afterConfigSent) {
        editor.afterConfigSent(id);
    }
}

void CEditorHost::ExchangeStarted(ExchangeKind /*kind*/) {
    VerdictDisplay::Clear(editor.verdict());
}

void CEditorHost::ExchangeEnded(const ExchangeRecord& record) {
    VerdictDisplay::Show(editor.verdict(), JudgeReadBack(record));
    if (journal != nullptr) {
        journal->Record(editor.journalName(), editor.isClient(), record);
    }
}
