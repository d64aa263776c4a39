#include "CSystemClock.h"

#include <time.h>

#include <cerrno>

#include "CDeadline.h"

namespace {

// An absolute deadline: a signal restarts the sleep without lengthening it.
void SleepUntil(const CDeadline& end) {
    const timespec until{static_cast<time_t>(end.WhenNs() / CSystemClock::kNsPerSecond),
                         static_cast<long>(end.WhenNs() % CSystemClock::kNsPerSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

}  // namespace

int64_t CSystemClock::NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * CSystemClock::kNsPerSecond + now.tv_nsec;
}

uint32_t CSystemClock::TickMs() {
    return static_cast<uint32_t>(static_cast<uint64_t>(NowNs() / CSystemClock::kNsPerMs));
}

int CSystemClock::Pause(uint32_t ms, IWaitService& service) {
    const CDeadline end(ms);
    while (!end.Expired()) {
        pollfd nothing{-1, 0, 0};
        if (service.Wait(nothing, end) >= 0 || errno == EINTR) {
            continue;
        }
        if (errno == ECANCELED) {
            return ECANCELED;
        }
        // A service that cannot wait leaves the pause as it always was.
        SleepUntil(end);
    }
    return 0;
}

CSystemClock& CSystemClock::Instance() {
    static CSystemClock clock;
    return clock;
}
