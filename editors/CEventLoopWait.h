#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>

class QEventLoop;
class QWidget;

// The link's waits, waited on the event loop: a local loop runs until the port is ready or
// the time is up, so that the window system and accessibility are answered the moment they
// ask, not once per slice. User input and close requests are held and timers do not run:
// both come after the exchange, as they would behind a blocked window. Escape or a press of
// the wait's cancel control ends the wait. Time is kept on the monotonic clock the link
// counts on.
class CEventLoopWait {
public:
    // As ppoll on `port` until `untilNs` (CLOCK_MONOTONIC): > 0 with port.revents set, 0 once
    // the time is up, < 0 with errno, ECANCELED when the user ended the wait. A descriptor of
    // -1 waits for the time alone. `tick` runs first and about every 100 ms after.
    // `cancelControl` (may be null) is the control whose press ends the wait.
    int Wait(pollfd& port, int64_t untilNs, const std::function<void()>& tick,
             QWidget* cancelControl = nullptr);

private:
    // The wait itself; `running` is its loop while it runs.
    int Serve(pollfd& port, int64_t untilNs, const std::function<void()>& tick,
              QEventLoop*& running);

    // A port that is always ready (a device that floods the line) still lets the window be
    // served this often.
    static constexpr int64_t kServeEveryNs = 100'000'000;

    int64_t lastServedNs = 0;
};
