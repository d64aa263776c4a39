#pragma once

#include <time.h>

#include <cstdint>

// A point on the system clock's time, fixed once, so that interrupted waits resume with only
// what is left instead of starting their full time again.
class CDeadline {
public:
    explicit CDeadline(int64_t fromNowMs);
    static CDeadline AtNs(int64_t ns);
    static CDeadline Earlier(const CDeadline& a, const CDeadline& b);

    bool Expired() const;
    // Time left, zero once expired; ready for ppoll.
    timespec Remaining() const;
    int64_t RemainingMs() const;

    int64_t WhenNs() const { return atNs; }

private:
    struct Absolute {};
    CDeadline(Absolute, int64_t ns) : atNs(ns) {}

    int64_t atNs;
};
