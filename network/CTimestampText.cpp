#include "CTimestampText.h"

#include <algorithm>
#include <cstring>

static_assert(sizeof(CTimestampText) <= sizeof(std::string));

CTimestampText& CTimestampText::operator=(const CTimestampText& other) {
    if (this != &other) {
        Assign(other.View());
    }
    return *this;
}

CTimestampText::CTimestampText(CTimestampText&& other) noexcept {
    Take(other);
}

CTimestampText& CTimestampText::operator=(CTimestampText&& other) noexcept {
    if (this != &other) {
        Release();
        Take(other);
    }
    return *this;
}

void CTimestampText::Assign(std::string_view text) {
    if (text.size() <= kInPlace) {
        // The text may lie in the longer one this holds: it is copied before that is let go.
        std::array<char, kInPlace> copy{};
        std::copy(text.begin(), text.end(), copy.begin());
        Release();
        bytes = copy;
        size = static_cast<uint8_t>(text.size());
        return;
    }
    auto* longer = new std::string(text);
    Release();
    std::memcpy(bytes.data(), &longer, sizeof longer);
    size = kLonger;
}

std::string* CTimestampText::Longer() const {
    std::string* longer = nullptr;
    std::memcpy(&longer, bytes.data(), sizeof longer);
    return longer;
}

void CTimestampText::Release() {
    if (size == kLonger) {
        delete Longer();
    }
    size = 0;
}

void CTimestampText::Take(CTimestampText& other) {
    bytes = other.bytes;
    size = other.size;
    other.size = 0;
}
