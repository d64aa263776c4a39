#include "Parameters.h"

const ParameterInfo* ParameterOfModemNumber(int32_t number) {
    for (const ParameterInfo& info : kParameters) {
        if (info.modemNumber == number) {
            return &info;
        }
    }
    return nullptr;
}

const ParameterInfo* ParameterNamed(std::string_view name) {
    for (const ParameterInfo& info : kParameters) {
        if (name == info.name) {
            return &info;
        }
    }
    return nullptr;
}

ParameterSet CustomInitialSet() {
    return ParameterSet{kCustomInitial.ID,  kCustomInitial.CHF, kCustomInitial.P0,
                        kCustomInitial.TYP, kCustomInitial.PRT, kCustomInitial.OFT};
}

namespace RefusalTexts {

std::string OutOfRange(const ValueRange& range) {
    std::string text = kOutOfRange;
    text.replace(text.find("%1"), 2, std::to_string(range.min));
    text.replace(text.find("%2"), 2, std::to_string(range.max));
    return text;
}

}  // namespace RefusalTexts
