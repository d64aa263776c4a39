#pragma once

#include "IClock.h"

// The real clock: a monotonic tick counter and nanosleep (restarted after signals).
class CSystemClock final : public IClock {
public:
    uint32_t TickMs() override;
    void Sleep(uint32_t ms) override;
    void PauseServing(uint32_t ms, IWaitService& service) override;

    static CSystemClock& Instance();
};
