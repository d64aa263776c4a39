#include "PortName.h"

#include <limits>

namespace PortName {

std::string Of(int32_t number) {
    return std::string(kPrefix) + std::to_string(number);
}

std::optional<int32_t> Parse(std::string_view name) {
    if (name.substr(0, kPrefix.size()) != kPrefix) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(kPrefix.size());
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(value);
}

}  // namespace PortName
