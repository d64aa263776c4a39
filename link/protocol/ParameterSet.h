#pragma once

#include <cstdint>
#include <string>

// The six values a repeater or sensor is programmed with. TYP is kept as device bytes
// (Latin-1); only its first byte goes into a frame.
struct ParameterSet {
    int32_t ID = 0;
    int32_t CHF = 0;
    int32_t P0 = 0;
    std::string TYP;
    int32_t PRT = 0;
    int32_t OFT = 0;
};
