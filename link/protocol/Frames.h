#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ParameterSet.h"
#include "Parameters.h"

// Command frames, reply acceptance and report decoding. Pure functions over device bytes.

// A TYP byte that may go inside a frame: a printable Latin-1 character. A zero byte would end
// the frame there, a line feed or carriage return the device's line, and any other control
// byte (ESC, 0x01, NEL 0x85) reaches whatever reads the line.
bool IsPrintableTyp(char byte);

// "u%03d%03d%02d%c%03d%03d" with ID, CHF, P0, first byte of TYP, PRT, OFT. Nothing when a
// value lies outside 0..255 or TYP is empty or not printable: such a frame would shift or
// drop fields.
std::optional<std::string> BuildConfigFrame(const ParameterSet& params);

// "i %3.3d", "c ...", "p ...", "r ...", "t ...", "o ..." for selectedParam 1..kModemParamCount.
std::optional<std::string> BuildModemCommand(int32_t selectedParam, int32_t value);

// A parameter's value as a configuration frame writes it: three digits, P0's two (three above
// 99), TYP's first byte.
std::string FrameField(const ParameterSet& params, Param param);

// A configuration frame read back into the values it carries (TYP its one byte); nothing when
// the text is not such a frame.
std::optional<ParameterSet> ParameterSetOfFrame(std::string_view frame);

// What a modem command changes: the parameter its letter names and the value it carries.
struct ModemSetting {
    const ParameterInfo* info = nullptr;
    int32_t value = 0;
};
// "p 007" read back; nothing when the text is not a modem command.
std::optional<ModemSetting> SettingOfModemCommand(std::string_view command);

bool IsConfigReport(std::string_view line);  // "TM", "LC" or "LM", case sensitive
bool IsModemReport(std::string_view line);   // "US"

// The nine-line status text, as device bytes. Never fails.
std::string DecodeReport(std::string_view line);

// The six values of a report, cut as DecodeReport cuts them: device bytes, not trimmed, each
// empty or short when the line is. They view the line given, which must outlive them.
struct ReportValues {
    std::array<std::string_view, kParamCount> pieces;

    std::string_view operator[](Param param) const { return pieces[static_cast<size_t>(param)]; }
};
ReportValues CutReportValues(std::string_view line);

// Every piece up to TYP is there in full: the line was not cut short.
bool IsWholeReport(std::string_view line);

// Device bytes (Latin-1) to UTF-8: every byte becomes one character, none is dropped.
std::string DeviceToUtf8(std::string_view bytes);

inline constexpr size_t kConfigLineBuffer = 64;
inline constexpr size_t kModemLineBuffer = 128;
inline constexpr uint32_t kConfigDeadlineMs = 15000;
inline constexpr uint32_t kModemDeadlineMs = 6000;
inline constexpr uint32_t kModemPauseMs = 4000;
inline constexpr uint32_t kByteTimeoutMs = 1000;
