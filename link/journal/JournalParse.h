#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ExchangeRecord.h"

// Reading back what JournalFormat writes.
namespace JournalParse {

// One CSV line (without its line feed) into its fields, quotes undone. False when the line
// is not well-formed CSV or holds more fields than any layout. The fields point into the line, or
// into `unquoted` for a field whose doubled quotes had to be undone; both are reused from call to
// call.
bool SplitFields(std::string_view line, std::vector<std::string_view>& fields,
                 std::deque<std::string>& unquoted);

// \n, \r, \t, \\ and \xHH back to their bytes; anything else stays as it is.
std::string UnescapeText(std::string_view field);
// As UnescapeText, and the characters U+0000..U+00FF back to the one byte each stood for.
std::string UnescapeDeviceBytes(std::string_view field);
// The same into `out`, whose storage is reused: what it held before is replaced.
void UnescapeTextInto(std::string_view field, std::string& out);
void UnescapeDeviceBytesInto(std::string_view field, std::string& out);

// "2026-12-09T01:05:03.042+01:00" to milliseconds since the epoch; none when malformed.
std::optional<int64_t> EpochMs(std::string_view timestamp);

std::optional<ExchangeKind> KindNamed(std::string_view name);

}  // namespace JournalParse
