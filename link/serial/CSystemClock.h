#pragma once

#include <cstdint>

#include "IClock.h"

// The real clock: the monotonic clock every wait of the link is counted on.
class CSystemClock final : public IClock {
public:
    uint32_t TickMs() override;
    int Pause(uint32_t ms, IWaitService& service) override;

    static constexpr int64_t kNsPerMs = 1000000;
    static constexpr int64_t kNsPerSecond = 1000000000;

    // Nanoseconds on CLOCK_MONOTONIC.
    static int64_t NowNs();
    static CSystemClock& Instance();
};
