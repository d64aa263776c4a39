#pragma once

#include <time.h>

#include <cstdint>

// A point on the monotonic clock, fixed once, so that interrupted waits resume with only
// what is left instead of starting their full time again.
class CDeadline {
public:
    explicit CDeadline(int64_t fromNowMs);

    bool Expired() const;
    // Time left, zero once expired; ready for ppoll.
    timespec Remaining() const;
    int64_t RemainingMs() const;

    static int64_t NowNs();

private:
    int64_t atNs;
};
