#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A timestamp as the journal wrote it, held in place in no more room than a string takes: a year
// of a shared folder keeps tens of thousands of incidents, and a heap block for each of their
// times would be a fresh page every hundred of them. A longer text, which no journal holds, is
// kept whole on the heap.
class CTimestampText {
public:
    CTimestampText() = default;
    explicit CTimestampText(std::string_view text) { Assign(text); }
    CTimestampText(const CTimestampText& other) { Assign(other.View()); }
    CTimestampText& operator=(const CTimestampText& other);
    CTimestampText(CTimestampText&& other) noexcept;
    CTimestampText& operator=(CTimestampText&& other) noexcept;
    ~CTimestampText() { Release(); }

    void Assign(std::string_view text);
    std::string_view View() const {
        return size == kLonger ? std::string_view(*Longer()) : std::string_view(bytes.data(), size);
    }
    std::string Text() const { return std::string(View()); }
    bool operator==(const CTimestampText& other) const { return View() == other.View(); }

private:
    static constexpr size_t kInPlace = 31;  // a journal's timestamp takes 29
    static constexpr uint8_t kLonger = 0xFF;
    std::string* Longer() const;
    void Release();
    void Take(CTimestampText& other);

    std::array<char, kInPlace> bytes{};  // the text, or where the longer one lies
    uint8_t size = 0;                    // of the text in place, or kLonger
};
