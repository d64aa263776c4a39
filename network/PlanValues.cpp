#include "PlanValues.h"

#include <charconv>

#include "Frames.h"
#include "PlanTexts.h"

namespace PlanValues {

namespace {

enum class Number { kNone, kFits, kBeyond };

// A number too long for 64 bits is still a number, beyond every range.
Number ParseWhole(std::string_view text, int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [rest, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || rest != end) {
        return Number::kNone;
    }
    return ec == std::errc() ? Number::kFits : Number::kBeyond;
}

std::string Named(std::string_view name, std::string_view reason) {
    return std::string(name) + " : " + std::string(reason);
}

}  // namespace

std::string Filled(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string text(pattern);
    int number = 1;
    for (const std::string_view arg : args) {
        const std::string mark = "%" + std::to_string(number++);
        for (size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + arg.size())) {
            text.replace(at, mark.size(), arg);
        }
    }
    return text;
}

std::string Ranged(std::string_view name, std::string_view text, const ValueRange& range,
                   int32_t& value) {
    if (text.empty()) {
        return Filled(PlanTexts::kValueMissing, {name});
    }
    int64_t number = 0;
    const Number kind = ParseWhole(text, number);
    if (kind == Number::kNone) {
        return Named(name, RefusalTexts::kNotInteger);
    }
    if (kind == Number::kBeyond || !range.Contains(number)) {
        return Named(name, RefusalTexts::OutOfRange(range));
    }
    value = static_cast<int32_t>(number);
    return {};
}

std::string Typ(std::string_view text, std::string& byte) {
    const std::string_view name = InfoOf(Param::TYP).name;
    if (text.empty()) {
        return Filled(PlanTexts::kValueMissing, {name});
    }
    char latin1 = text.front();
    const auto lead = static_cast<unsigned char>(text.front());
    const bool twoBytes = text.size() == 2 && (lead == 0xC2 || lead == 0xC3);
    if (twoBytes) {
        latin1 = static_cast<char>(((lead & 0x03) << 6) | (text[1] & 0x3F));
    }
    if ((text.size() != 1 && !twoBytes) || (text.size() == 1 && lead >= 0x80) ||
        !IsPrintableTyp(latin1)) {
        return RefusalTexts::kTypNotPrintable;
    }
    byte.assign(1, latin1);
    return {};
}

std::string ModemType(std::string_view text, int32_t& value) {
    const std::string_view name = InfoOf(Param::TYP).name;
    if (text.empty()) {
        return Filled(PlanTexts::kValueMissing, {name});
    }
    int64_t number = 0;
    if (ParseWhole(text, number) != Number::kFits || number < kModemTypeLow ||
        number > kModemTypeHigh || !IsModemTypeAllowed(static_cast<int32_t>(number))) {
        return Named(name, RefusalTexts::kModemType);
    }
    value = static_cast<int32_t>(number);
    return {};
}

}  // namespace PlanValues
