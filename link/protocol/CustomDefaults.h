#pragma once

#include <cstdint>

// What the single-device editor starts from and accepts: the desktop tool and the command
// line apply the same ones.
namespace CustomDefaults {

inline constexpr int32_t kID = 1;
inline constexpr int32_t kCHF = 255;
inline constexpr int32_t kP0 = 60;
inline constexpr char kTYP[] = "3";
inline constexpr int32_t kPRT = 0;
inline constexpr int32_t kOFT = 100;

inline constexpr int32_t kMinValue = 0;
inline constexpr int32_t kMaxValue = 255;

// A modem's type: the only values the modem page sends on "Emettre".
inline constexpr int32_t kModemTypeLow = 0;
inline constexpr int32_t kModemTypeHigh = 255;

}  // namespace CustomDefaults
