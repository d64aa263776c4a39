#pragma once

// Properties that must hold for any input, shared by the fuzz entries and by the replay of
// their corpus in the unit tests. Each check returns an empty text when all is well, or
// what went wrong.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "CLineBuffer.h"
#include "Frames.h"

namespace fuzzchecks {

inline constexpr size_t kCompactLength = 29;
inline constexpr size_t kSpacedLength = 46;
// "7305rx", two "/", seven five-character labels and nine line ends.
inline constexpr size_t kFixedLength = 6 + 2 + 7 * 5 + 9 * 2;

// Number of code points in valid UTF-8, or nothing when the text is not valid UTF-8.
inline std::ptrdiff_t CountUtf8(std::string_view text) {
    std::ptrdiff_t count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
        } else if (lead >= 0xE0) {
            extra = 2;
        } else if (lead >= 0xC2) {
            extra = 1;
        } else if (lead >= 0x80) {
            return -1;
        }
        if (extra > 0 && i + extra >= text.size()) {
            return -1;
        }
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return -1;
            }
        }
        i += 1 + extra;
    }
    return count;
}

// The compact form of a line, spread out into the spaced form with the given separator.
inline std::string SpreadOut(std::string_view compact, char separator) {
    std::string spaced(compact.substr(0, 2));
    spaced.push_back(' ');
    for (size_t at : {2, 4}) {
        spaced.append(compact.substr(at, 2)).push_back(separator);
    }
    spaced.append(compact.substr(6, 2));
    for (size_t at = 8; at < kCompactLength; at += 3) {
        spaced.append(2, separator).append(compact.substr(at, 3));
    }
    return spaced;
}

inline std::string CheckDecodeReport(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string status = DecodeReport(line);

    if (status != DecodeReport(std::string(line))) {
        return "decoding is not deterministic";
    }
    if (status.size() < kFixedLength || status.size() > kFixedLength + kCompactLength) {
        return "status text length " + std::to_string(status.size()) + " out of bounds";
    }
    const std::string_view prefix = line.substr(0, 2);
    if (std::string_view(status).substr(0, prefix.size() + 8) !=
        std::string(prefix) + "7305rx\r\n") {
        return "first line is not the prefix and 7305rx";
    }
    if (status.compare(status.size() - 2, 2, "\r\n") != 0) {
        return "status text does not end with a line break";
    }
    const bool spaced = line.size() > 2 && line[2] == ' ';
    const size_t layoutEnd = spaced ? kSpacedLength : kCompactLength;
    if (line.size() >= layoutEnd) {
        if (status.size() != kFixedLength + kCompactLength) {
            return "a full-length line lost characters";
        }
        if (DecodeReport(std::string(line.substr(0, layoutEnd)) + "tail\r\n") != status) {
            return "bytes after the last piece changed the status text";
        }
    }
    if (!spaced && line.size() >= kCompactLength) {
        for (char separator : {' ', '\0', '\xFF'}) {
            if (DecodeReport(SpreadOut(line, separator)) != status) {
                return "spaced form decodes differently from the compact form";
            }
        }
    }

    const std::string screen = DeviceToUtf8(status);
    if (CountUtf8(screen) != static_cast<std::ptrdiff_t>(status.size())) {
        return "screen text is not one valid UTF-8 character per byte";
    }

    const bool config = IsConfigReport(line);
    const bool modem = IsModemReport(line);
    if (config && modem) {
        return "a line was accepted as both kinds of report";
    }
    if ((config || modem) && line.size() < 2) {
        return "a line shorter than its prefix was accepted";
    }
    if (config != IsConfigReport(prefix) || modem != IsModemReport(prefix)) {
        return "acceptance looked beyond the first two characters";
    }
    return {};
}

// The first byte gives the buffer's capacity, the rest are received bytes. They are put
// until the line is complete, as a read does, and compared with what a line must hold.
inline std::string CheckLineBuffer(const uint8_t* data, size_t size) {
    if (size == 0) {
        return {};
    }
    const size_t capacity = data[0];
    // Exactly `capacity` bytes, so that a write past the end is caught by the sanitizer as
    // well as by the guard bytes behind a second copy.
    auto exact = std::make_unique<char[]>(capacity);
    constexpr size_t kGuard = 16;
    auto guarded = std::make_unique<char[]>(capacity + kGuard);
    std::memset(guarded.get() + capacity, 0x5A, kGuard);

    CLineBuffer line(exact.get(), capacity);
    CLineBuffer twin(guarded.get(), capacity);
    std::string expected;
    bool complete = false;
    bool endedOnLineFeed = false;
    size_t fed = 1;
    for (; fed < size && !complete; ++fed) {
        const char byte = static_cast<char>(data[fed]);
        const bool full = capacity == 0 || expected.size() >= capacity - 1;
        if (!full && byte != '\0') {
            expected.push_back(byte);
        }
        complete = line.Put(byte);
        if (twin.Put(byte) != complete) {
            return "two buffers fed alike disagree";
        }
        endedOnLineFeed = complete && !full && byte == '\n';
        if (!complete && (full || byte == '\n')) {
            return "a full buffer or a line feed did not complete the line";
        }
        if (complete && !full && byte != '\n') {
            return "the line completed on a byte that is neither a line feed nor an overflow";
        }
    }
    for (size_t k = 0; k < kGuard; ++k) {
        if (guarded[capacity + k] != 0x5A) {
            return "wrote beyond the capacity";
        }
    }
    if (capacity == 0) {
        return line.Length() == 0 ? std::string() : "a zero-capacity buffer holds text";
    }
    const std::string_view text(exact.get(), strnlen(exact.get(), capacity));
    if (text.size() == capacity) {
        return "text not zero-terminated within the capacity";
    }
    if (text.size() != line.Length()) {
        return "a zero byte stands inside the text";
    }
    if (text != expected) {
        return "text differs from the received bytes without zeros";
    }
    if (std::string_view(guarded.get(), twin.Length()) != text) {
        return "two buffers fed alike hold different text";
    }
    const bool endsWithLineFeed = !text.empty() && text.back() == '\n';
    if (endsWithLineFeed != endedOnLineFeed) {
        return "a final line feed does not match Put completing on one";
    }
    return {};
}

}  // namespace fuzzchecks
