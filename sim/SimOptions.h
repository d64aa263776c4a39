#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class DeviceKind { kRepeater, kSensor, kModem, kAny };

// The one value a device reports other than it keeps, so that a read-back differs there.
enum class ReportedField { kNone, kId, kChf, kOft, kP0, kPrt, kTyp };

// How the simulated device spoils its answers; every field off means a well-behaved device.
struct FaultOptions {
    bool silent = false;
    uint32_t delayMs = 0;
    uint32_t dripMs = 0;
    bool echo = false;
    bool noise = false;
    bool lowercase = false;
    bool noLf = false;
    bool crlf = false;
    bool longLine = false;
    bool zeroBytes = false;
    bool terminalCodes = false;
    bool answerFrame = false;
    bool hangupMid = false;
    ReportedField changed = ReportedField::kNone;
};

struct SimOptions {
    DeviceKind device = DeviceKind::kRepeater;
    int32_t port = 0;        // 0: first free virtual number
    std::string runtimeDir;  // empty: the port list's default folder
    std::string logPath;     // empty: no log
    bool spaced = false;
    bool stream = false;
    bool help = false;
    bool version = false;
    FaultOptions faults;
};

// Reads the command line. Nothing, with a reason in `error`, when it cannot be used.
std::optional<SimOptions> ParseSimOptions(int argc, char** argv, std::string& error);

std::string SimUsage(const char* programName);
