#pragma once

#include <cstdint>
#include <string>

#include "ExchangeRecord.h"

// What a sequence is waiting for while it serves its host.
enum class WaitKind { kReport, kPause };

// What an exchange sequence needs of the editor that runs it. All texts are UTF-8.
class IExchangeHost {
public:
    virtual ~IExchangeHost() = default;
    virtual void SetStatusText(const std::string& text) = 0;
    // Members to screen (the editor's UpdateData(FALSE)).
    virtual void Refresh() = 0;
    // Redraw the status box now: nothing else is painted until the exchange returns.
    virtual void RepaintStatus() = 0;
    // The application message box (OK, exclamation, caption the application title).
    virtual void ShowMessage(const std::string& text) = 0;
    // The same box when the port failed: `cause` (French, what to do) and the system's own
    // `systemError` go under the unchanged `text`; either may be empty.
    virtual void ShowPortFailure(const std::string& text, const std::string& /*cause*/,
                                 const std::string& /*systemError*/) {
        ShowMessage(text);
    }
    // Runs after a configuration frame was written, whatever the read-back gave.
    virtual void AfterConfigSent(int32_t /*id*/) {}
    // Runs once at the very start of every sequence, before the port is opened.
    virtual void ExchangeStarted(ExchangeKind /*kind*/) {}
    // Runs once at the very end of every sequence, after the port was closed.
    virtual void ExchangeEnded(const ExchangeRecord& /*record*/) {}
    // Called at least every 100 ms of every wait, with the time left until the wait's
    // deadline (0 once it has passed): the host's chance to keep its own window alive. It
    // must not start another exchange nor run what the user asked for meanwhile.
    virtual void ServeWhileWaiting(WaitKind /*kind*/, uint32_t /*msLeft*/) {}
};
