#include "CDeadline.h"

#include "CSystemClock.h"

CDeadline::CDeadline(int64_t fromNowMs)
    : atNs(CSystemClock::NowNs() + fromNowMs * CSystemClock::kNsPerMs) {}

CDeadline CDeadline::AtNs(int64_t ns) {
    return CDeadline(Absolute{}, ns);
}

CDeadline CDeadline::Earlier(const CDeadline& a, const CDeadline& b) {
    return a.atNs <= b.atNs ? a : b;
}

bool CDeadline::Expired() const {
    return CSystemClock::NowNs() >= atNs;
}

timespec CDeadline::Remaining() const {
    const int64_t left = atNs - CSystemClock::NowNs();
    if (left <= 0) {
        return timespec{0, 0};
    }
    return timespec{static_cast<time_t>(left / CSystemClock::kNsPerSecond),
                    static_cast<long>(left % CSystemClock::kNsPerSecond)};
}

int64_t CDeadline::RemainingMs() const {
    const int64_t left = atNs - CSystemClock::NowNs();
    return left <= 0 ? 0 : (left + CSystemClock::kNsPerMs - 1) / CSystemClock::kNsPerMs;
}
