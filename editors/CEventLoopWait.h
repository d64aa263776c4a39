#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>

// The link's waits, waited on the event loop: a local loop runs until the port is ready or
// the time is up, so that the window system and accessibility are answered the moment they
// ask, not once per slice. User input and close requests stay queued and timers do not run:
// both come after the exchange, as they would behind a blocked window. Time is kept on the
// monotonic clock the link counts on.
class CEventLoopWait {
public:
    // As ppoll on `port` until `untilNs` (CLOCK_MONOTONIC): > 0 with port.revents set, 0 once
    // the time is up, < 0 with errno. A descriptor of -1 waits for the time alone. `tick` runs
    // first and about every 100 ms after.
    int Wait(pollfd& port, int64_t untilNs, const std::function<void()>& tick);

private:
    // A port that is always ready (a device that floods the line) still lets the window be
    // served this often.
    static constexpr int64_t kServeEveryNs = 100'000'000;

    int64_t lastServedNs = 0;
};
