#pragma once

#include <cstdint>

#include "IWaitService.h"

// Millisecond tick counter and blocking pause. Exchanges take time from here so that
// their deadlines can be tested without waiting for them.
class IClock {
public:
    virtual ~IClock() = default;
    // Wraps at 2^32; callers only ever use unsigned differences.
    virtual uint32_t TickMs() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // The same pause, handed to `service` to wait out along with its own duties; a clock whose
    // time is not the desktop's (a test's) may simply Sleep.
    virtual void PauseServing(uint32_t ms, IWaitService& service) {
        (void)service;
        Sleep(ms);
    }
};
