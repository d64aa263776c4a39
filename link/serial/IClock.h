#pragma once

#include <cstdint>

#include "IWaitService.h"

// The link's clock: a millisecond tick counter, and the one way time is let pass. Exchanges
// take time from here so that their deadlines can be tested without waiting for them.
class IClock {
public:
    virtual ~IClock() = default;
    // Wraps at 2^32; callers only ever use unsigned differences.
    virtual uint32_t TickMs() = 0;
    // Lets `ms` pass, each wait of it handed to `service` with no descriptor, as a read hands
    // it the port; a clock whose time is not the desktop's (a test's) need not wait at all.
    // 0 once the time has passed, ECANCELED when the service ended the pause before.
    virtual int Pause(uint32_t ms, IWaitService& service) = 0;
};
