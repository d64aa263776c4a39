#pragma once

#include <termios.h>

#include <cstdint>
#include <optional>

// The channel's line settings in termios terms: raw 8-bit transfer, the rate, parity,
// data and stop bits, no flow control, reads that never wait inside the driver.
class CLineSettings {
public:
    // The termios speed for one of the accepted rates; nothing for any other rate and for
    // the accepted rates termios cannot express.
    static std::optional<speed_t> SpeedFor(uint32_t baudRate);

    // Rewrites `tio` (as read from the port) for the given settings.
    static void Apply(termios& tio, speed_t speed, char parity, uint8_t dataBits, uint8_t stopBits);

    // Whether the port took every setting asked for: drivers report success when any part
    // was applied, and a pseudo-terminal, for one, ignores parity and character size.
    static bool Matches(const termios& wanted, const termios& got);
};
