#pragma once

#include <cstdint>

#include "Frames.h"

// How long an exchange waits for what. The device's own times by default; a test gives
// shorter ones so that a silent device costs it a fraction of a real one.
struct ExchangeTiming {
    uint32_t configDeadlineMs = kConfigDeadlineMs;
    uint32_t modemDeadlineMs = kModemDeadlineMs;
    uint32_t modemPauseMs = kModemPauseMs;
    // Each byte of a reply is waited for this long; it is also an attempt's length.
    uint32_t byteTimeoutMs = kByteTimeoutMs;
};
