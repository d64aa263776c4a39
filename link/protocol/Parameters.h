#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ParameterSet.h"

// The six parameters every device carries, in the order its report lists them. Everything
// the frames, the verdict, the journal, the editors and the command line know about a
// parameter is read from the one table below.
enum class Param : size_t { ID, CHF, OFT, P0, PRT, TYP };
inline constexpr size_t kParamCount = 6;

struct ValueRange {
    int32_t min;
    int32_t max;

    constexpr bool Contains(int64_t value) const { return value >= min && value <= max; }
    friend constexpr bool operator==(const ValueRange&, const ValueRange&) = default;
};

// The editors a parameter is edited in.
enum class ParamEditor { kCustom, kPage, kModem };

struct ParameterInfo {
    Param param;
    const char* name;                 // as the screen, the report and the journal name it
    ValueRange custom;                // the single-device dialog
    ValueRange page;                  // the repeater and sensor pages
    std::optional<ValueRange> modem;  // the modem page; none for its TYP (a guarded send)
    int32_t modemNumber;              // the modem page's selectedParam, 1..kModemParamCount
    char modemLetter;                 // the modem command's letter
    bool clientConfig;                // a client may change it in the custom dialog and the pages
    bool clientModem;                 // a client may change it on the modem page
    int32_t ParameterSet::*member;    // its value in a ParameterSet; none for TYP (a text)
};

inline constexpr ValueRange kByteRange{0, 255};
inline constexpr ValueRange kNetworkIdRange{1, 240};
// How many of a network's IDs are repeaters: none up to every one.
inline constexpr ValueRange kRepeaterCountRange{0, kNetworkIdRange.max};
// A network's devices: repeaters first, then sensors.
inline constexpr int32_t kFirstDeviceId = kNetworkIdRange.min;
inline constexpr int32_t kLastDeviceId = kNetworkIdRange.max;

inline constexpr std::array<ParameterInfo, kParamCount> kParameters{{
    {Param::ID, "ID", kByteRange, kNetworkIdRange, kByteRange, 1, 'i', true, false,
     &ParameterSet::ID},
    {Param::CHF, "CHF", kByteRange, kByteRange, kByteRange, 2, 'c', false, false,
     &ParameterSet::CHF},
    {Param::OFT, "OFT", kByteRange, kByteRange, kByteRange, 6, 'o', false, false,
     &ParameterSet::OFT},
    {Param::P0, "P0", kByteRange, kByteRange, kByteRange, 3, 'p', false, true, &ParameterSet::P0},
    {Param::PRT, "PRT", kByteRange, kByteRange, kByteRange, 4, 'r', false, false,
     &ParameterSet::PRT},
    {Param::TYP, "TYP", kByteRange, kByteRange, std::nullopt, 5, 't', false, false, nullptr},
}};

// The modem page numbers every parameter, from 1 up.
inline constexpr int32_t kModemParamCount = static_cast<int32_t>(kParamCount);
static_assert([] {
    std::array<bool, kParamCount + 1> seen{};
    for (const ParameterInfo& info : kParameters) {
        if (info.modemNumber < 1 || info.modemNumber > kModemParamCount ||
            seen[static_cast<size_t>(info.modemNumber)]) {
            return false;
        }
        seen[static_cast<size_t>(info.modemNumber)] = true;
    }
    return true;
}());

constexpr const ParameterInfo& InfoOf(Param param) {
    return kParameters[static_cast<size_t>(param)];
}

// The parameter a modem page's selectedParam stands for; none outside 1..kModemParamCount.
const ParameterInfo* ParameterOfModemNumber(int32_t number);
// By its name as the screen writes it ("P0"); none for another name.
const ParameterInfo* ParameterNamed(std::string_view name);

// What an editor starts from; TYP is the one character a frame carries. kCustomInitial is
// shared by the single-device dialog and the command line.
struct InitialValues {
    int32_t ID;
    int32_t CHF;
    int32_t P0;
    const char* TYP;
    int32_t PRT;
    int32_t OFT;
};
inline constexpr InitialValues kCustomInitial{1, 255, 60, "3", 0, 100};
ParameterSet CustomInitialSet();

// The modem's type: the only values the modem page sends on "Emettre".
inline constexpr int32_t kModemTypeLow = 0;
inline constexpr int32_t kModemTypeHigh = 255;
constexpr bool IsModemTypeAllowed(int32_t type) {
    return type == kModemTypeLow || type == kModemTypeHigh;
}

// The French sentences that refuse a value, as the program's string table holds them: "%1"
// and "%2" take the range's bounds or the longest length.
namespace RefusalTexts {
inline constexpr char kNotInteger[] = "Tapez un nombre entier.";
inline constexpr char kOutOfRange[] = "Tapez un nombre entier compris entre %1 et %2.";
inline constexpr char kTooLong[] = "Tapez %1 caractères au maximum.";
inline constexpr char kModemType[] = "Le type d'un modem doit être égal à 0 ou 255.";
inline constexpr char kTypNotPrintable[] = "Le TYP doit être un caractère imprimable.";

// kOutOfRange with the range's bounds filled in.
std::string OutOfRange(const ValueRange& range);
}  // namespace RefusalTexts
