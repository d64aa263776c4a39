#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "Parameters.h"

// One value of a plan's row or fact read as the pages read it: each function gives "" when the
// text is good, else the French reason, the column's name in front.
namespace PlanValues {

// `pattern` with %1, %2... filled in, every occurrence of each.
std::string Filled(std::string_view pattern, std::initializer_list<std::string_view> args);

// A whole number in `range`.
std::string Ranged(std::string_view name, std::string_view text, const ValueRange& range,
                   int32_t& value);
// A device's TYP: one printable character, ASCII or Latin-1 written in UTF-8; `byte` gets its
// Latin-1 byte.
std::string Typ(std::string_view text, std::string& byte);
// The modem's TYP, the modem's type: 0 or 255.
std::string ModemType(std::string_view text, int32_t& value);

}  // namespace PlanValues
