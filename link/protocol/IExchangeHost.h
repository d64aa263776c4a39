#pragma once

#include <cstdint>
#include <string>

#include "ExchangeRecord.h"
#include "IWaitService.h"

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
    // Every wait of a sequence, handed over to be waited as IWaitService::Wait says: until
    // `port` is ready or `until` has passed (a descriptor of -1 in a pause). `waitEnd` is
    // where the whole wait ends (a report's deadline, the modem's pause), for a countdown. A
    // host with a window waits on it and on its window together; it must not start another
    // exchange nor run what the user asked for meanwhile; a user who ends the wait makes it
    // answer < 0 with ECANCELED. Without one, it is a plain wait.
    virtual int WaitServing(WaitKind /*kind*/, pollfd& port, const CDeadline& until,
                            const CDeadline& /*waitEnd*/) {
        return IWaitService::Poll(port, until);
    }
};
