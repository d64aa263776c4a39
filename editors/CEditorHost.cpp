#include "CEditorHost.h"

#include <cerrno>
#include <utility>

#include "CEditorJournal.h"
#include "MessageBoxes.h"
#include "VerdictDisplay.h"
#include "WaitCancelButton.h"

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

void CEditorHost::EndOfWaits() {
    WaitCancelButton::Hide(editor.verdict());
    VerdictDisplay::Clear(editor.verdict());
}

void CEditorHost::ShowMessage(const std::string& text) {
    // The wait is over; its countdown must not stand beside the box.
    EndOfWaits();
    AfxMessageBox(QString::fromStdString(text));
}

void CEditorHost::ShowPortFailure(const std::string& text, const std::string& cause,
                                  const std::string& systemError) {
    EndOfWaits();
    AfxPortFailureBox(QString::fromStdString(text), QString::fromStdString(cause),
                      QString::fromStdString(systemError));
}

void CEditorHost::AfterConfigSent(int32_t id) {
    if (editor.afterConfigSent) {
        editor.afterConfigSent(id);
    }
}

void CEditorHost::ExchangeStarted(ExchangeKind /*kind*/) {
    waitCancelled = false;
    VerdictDisplay::Clear(editor.verdict());
}

void CEditorHost::ExchangeEnded(const ExchangeRecord& record) {
    WaitCancelButton::Hide(editor.verdict());
    // An editor that notes each sent configuration moves its ID field on after it: the
    // verdict then names the ID a failed send leaves to do again.
    if (editor.afterConfigSent) {
        VerdictDisplay::ShowOutcome(editor.verdict(), record);
    } else {
        VerdictDisplay::Show(editor.verdict(), JudgeReadBack(record));
    }
    if (journal != nullptr) {
        journal->Record(editor.journalName(), editor.isClient(), record);
    }
}

int CEditorHost::WaitServing(WaitKind kind, pollfd& port, const CDeadline& until,
                             const CDeadline& waitEnd) {
    // Nothing served here may wait on the link, but a wait inside a serve must not serve
    // again: the events it would serve are the outer serve's.
    if (serving) {
        return IWaitService::Poll(port, until);
    }
    // The user who ended one wait of the exchange ended them all.
    if (waitCancelled) {
        errno = ECANCELED;
        return -1;
    }
    serving = true;
    QLabel* verdict = editor.verdict();
    const int ready = loopWait.Wait(
        port, until.WhenNs(),
        [&] {
            VerdictDisplay::ShowCountdown(verdict, kind,
                                          static_cast<uint32_t>(waitEnd.RemainingMs()));
        },
        WaitCancelButton::Show(verdict));
    serving = false;
    waitCancelled = ready < 0 && errno == ECANCELED;
    return ready;
}
