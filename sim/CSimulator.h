#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "CDeviceModel.h"
#include "SimOptions.h"

class CSignalPipe;
class CTrace;
class CVirtualPort;

// The device's main loop: reads the PC's lines from the master side of the port, lets the
// device model answer them and puts the answers on the line with the chosen faults.
class CSimulator {
public:
    CSimulator(const SimOptions& options, CVirtualPort& port, CSignalPipe& signals, CTrace& trace);

    // Runs until a stop signal, or until the device hangs up; returns the exit code.
    int Run();

private:
    enum class Flow { kGoOn, kStop, kFailed };

    Flow ReadInput();
    Flow HandleLine(std::string_view line);
    Flow Answer(const DeviceAnswer& answer);
    Flow SendReport(const std::string& line);
    Flow Send(std::string_view bytes);
    Flow WriteBytes(std::string_view bytes);
    // Waits `ms` unless a stop signal comes first (then false).
    bool Pause(uint32_t ms);
    bool StopRequested();
    // Waits (bounded) until the reader has taken what was sent; false on a stop signal.
    bool WaitUntilTaken();

    const SimOptions& options;
    CVirtualPort& port;
    CSignalPipe& signals;
    CTrace& trace;
    CDeviceModel model;
    std::string pending;  // received bytes not yet ended by a line feed
};

// Longest line kept before it is handled as it stands, so that a peer that never sends a
// line feed cannot make the device hold an ever-growing line.
inline constexpr size_t kMaxReceivedLine = 4096;
