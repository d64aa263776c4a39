#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "CEventLoopWait.h"
#include "IExchangeHost.h"

class CEditorJournal;
class QLabel;

// What every editor does around its exchanges: the status box, the application's message
// boxes, the verdict beside the status and the journal. The editor lends only what is its
// own.
class CEditorHost : public IExchangeHost {
public:
    struct Editor {
        QString& statusText;
        // The editor's members to screen.
        std::function<void()> refresh;
        std::function<void()> repaintStatus;
        // Null while the editor has no window.
        std::function<QLabel*()> verdict;
        std::function<std::string()> journalName;
        std::function<bool()> isClient;
        // Empty when a sent configuration leaves nothing to note.
        std::function<void(int32_t)> afterConfigSent;
    };

    // Without a journal (a page not yet attached) nothing is recorded.
    CEditorHost(Editor editor, CEditorJournal* journal);

    void SetJournal(CEditorJournal* journal);

    void SetStatusText(const std::string& text) override;
    void Refresh() override;
    void RepaintStatus() override;
    void ShowMessage(const std::string& text) override;
    void ShowPortFailure(const std::string& text, const std::string& cause,
                         const std::string& systemError) override;
    void AfterConfigSent(int32_t id) override;
    void ExchangeStarted(ExchangeKind kind) override;
    void ExchangeEnded(const ExchangeRecord& record) override;
    // On the event loop, window-system events only: input, close requests and timers wait
    // for the end of the exchange, as they would have behind a blocked window. Escape or the
    // "Annuler" shown beside the countdown ends the wait (ECANCELED).
    int WaitServing(WaitKind kind, pollfd& port, const CDeadline& until,
                    const CDeadline& waitEnd) override;

private:
    // The countdown and its "Annuler" go before a box or the verdict is shown.
    void EndOfWaits();

    Editor editor;
    CEditorJournal* journal;
    CEventLoopWait loopWait;
    bool serving = false;
    bool waitCancelled = false;
};
