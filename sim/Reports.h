#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "SimOptions.h"

// What a device reports, piece by piece, before it is laid out on a line.
struct DeviceReport {
    std::string prefix;  // "TM", "LC" or "US"
    std::array<std::string, 3> shortFields{"01", "02", "03"};
    std::string version = "V14";
    int32_t id = 0;
    int32_t chf = 0;
    int32_t oft = 0;
    int32_t p0 = 0;
    int32_t prt = 0;
    std::string typ;  // three characters
};

// The report line without its line end: 29 characters compact, 46 spaced.
std::string FormatReport(const DeviceReport& report, bool spaced);

// The bytes put on the line for a formatted report, with the faults that touch a report.
std::string ShapeReportLine(const std::string& formatted, const FaultOptions& faults);

// A line no reader accepts as a report.
std::string NoiseLine(const FaultOptions& faults);

inline constexpr size_t kLongLineLength = 160;
// Retitles a terminal, then clears it.
inline constexpr char kTerminalCodes[] = "\x1b]0;pwned\x07\x1b[2J";
