#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ExchangeRecord.h"
#include "Parameters.h"

// What the device reported compared with what was sent.
struct FieldDifference {
    std::string field;  // "ID", "CHF", "OFT", "P0", "PRT" or "TYP"
    std::string sent;   // as the frame or command put it: three digits, or TYP's character
    std::string read;   // as the report holds it (UTF-8)
};

enum class VerdictKind {
    kNone,      // nothing to judge: a read alone, nothing sent, or no report came
    kVerified,  // every value sent came back
    kDiffers,
};

struct Verdict {
    VerdictKind kind = VerdictKind::kNone;
    std::vector<FieldDifference> differences;  // in the report's order
};

// After a full configuration, the six values; after a modem command, the one it carried.
// Numbers compare as the three digits the frame wrote; TYP compares the one character a
// frame carries with the first character of the report's three.
Verdict JudgeReadBack(const ExchangeRecord& record);
// The same judgements from what was sent and the report line that came back.
Verdict JudgeConfig(const ParameterSet& sent, std::string_view report);
Verdict JudgeModemValue(const ParameterInfo& info, int32_t value, std::string_view report);

// "Configuration vérifiée", or "CHF envoyé 012, lu 013" for each difference, joined by "; ";
// empty when there is nothing to judge.
std::string VerdictText(const Verdict& verdict);
