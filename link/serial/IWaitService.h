#pragma once

#include <poll.h>

#include "CDeadline.h"

// Whoever runs a blocking wait of the channel may have duties of its own meanwhile (a window
// that must keep answering its desktop). The channel hands it what it waits for, and the
// service waits on that and on its own duties together, in its own way.
class IWaitService {
public:
    virtual ~IWaitService() = default;
    // Waits as ppoll on `port` alone would, until it is ready or `until` has passed: > 0 with
    // port.revents set, 0 once the time is up, < 0 with errno. A descriptor of -1 waits for
    // the time alone (a pause). Ending early with 0 is allowed: the caller then waits again
    // for what is left. It must not use the channel.
    virtual int Wait(pollfd& port, const CDeadline& until) = 0;

    // That wait with nothing else to serve.
    static int Poll(pollfd& port, const CDeadline& until);
};
