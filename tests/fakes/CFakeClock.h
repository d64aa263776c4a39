#pragma once

#include <cstdint>

#include "IClock.h"

// A clock for deadline tests: time moves only when asked to. Each TickMs() call first
// returns the current time, then moves it on by `stepPerTick`; a pause moves it on at once,
// without waiting and without handing anything to the service.
class CFakeClock final : public IClock {
public:
    explicit CFakeClock(uint32_t start = 0, uint32_t stepPerTick = 0)
        : now(start), step(stepPerTick) {}

    uint32_t TickMs() override {
        const uint32_t t = now;
        now += step;
        ++ticks;
        return t;
    }
    int Pause(uint32_t ms, IWaitService& /*service*/) override {
        now += ms;
        slept += ms;
        ++sleeps;
        return 0;
    }

    void Advance(uint32_t ms) { now += ms; }
    void SetStep(uint32_t stepPerTick) { step = stepPerTick; }
    uint32_t Now() const { return now; }
    uint64_t Slept() const { return slept; }
    unsigned Sleeps() const { return sleeps; }
    unsigned Ticks() const { return ticks; }

private:
    uint32_t now;
    uint32_t step;
    uint64_t slept = 0;
    unsigned sleeps = 0;
    unsigned ticks = 0;
};
