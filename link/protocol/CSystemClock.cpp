#include "CSystemClock.h"

#include <time.h>

#include <cerrno>

#include "CDeadline.h"

namespace {

constexpr long kNsPerSecond = 1000000000L;

timespec Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

}  // namespace

uint32_t CSystemClock::TickMs() {
    const timespec now = Now();
    const uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void CSystemClock::Sleep(uint32_t ms) {
    timespec until = Now();
    until.tv_sec += static_cast<time_t>(ms / 1000u);
    until.tv_nsec += static_cast<long>(ms % 1000u) * 1000000L;
    if (until.tv_nsec >= kNsPerSecond) {
        until.tv_sec += 1;
        until.tv_nsec -= kNsPerSecond;
    }
    // An absolute deadline: a signal restarts the sleep without lengthening it.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

void CSystemClock::PauseServing(uint32_t ms, IWaitService& service) {
    const CDeadline end(ms);
    while (!end.Expired()) {
        pollfd nothing{-1, 0, 0};
        // A service that cannot wait leaves the pause as it always was.
        if (service.Wait(nothing, end) < 0 && errno != EINTR) {
            Sleep(static_cast<uint32_t>(end.RemainingMs()));
        }
    }
}

CSystemClock& CSystemClock::Instance() {
    static CSystemClock clock;
    return clock;
}
