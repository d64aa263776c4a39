#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The one place where a port number becomes a "COM<n>" name and back.
namespace PortName {

inline constexpr std::string_view kPrefix = "COM";

// "COM3" for 3.
std::string Of(int32_t number);

// The number of "COM<n>", exactly spelled: decimal digits without sign, blanks or leading
// zeros, so that each number has one name. None for any other text.
std::optional<int32_t> Parse(std::string_view name);

}  // namespace PortName
