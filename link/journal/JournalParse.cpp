#include "JournalParse.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <cstring>

#include "JournalFormat.h"

namespace JournalParse {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The escape at `at` (a backslash): its byte and length, or none.
std::optional<std::pair<char, size_t>> Escape(std::string_view text, size_t at) {
    if (at + 1 >= text.size()) {
        return std::nullopt;
    }
    switch (text[at + 1]) {
        case '\\':
            return std::pair{'\\', size_t{2}};
        case 'n':
            return std::pair{'\n', size_t{2}};
        case 'r':
            return std::pair{'\r', size_t{2}};
        case 't':
            return std::pair{'\t', size_t{2}};
        case 'x':
            if (at + 3 < text.size() && HexDigit(text[at + 2]) >= 0 &&
                HexDigit(text[at + 3]) >= 0) {
                return std::pair{
                    static_cast<char>(HexDigit(text[at + 2]) * 16 + HexDigit(text[at + 3])),
                    size_t{4}};
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// The bytes from `at` on that stand for themselves whichever the field: no escape, no byte of a
// UTF-8 sequence.
size_t PlainRun(std::string_view field, size_t at) {
    size_t end = at;
#ifdef __SSE2__
    const __m128i backslash = _mm_set1_epi8('\\');
    for (; end + 16 <= field.size(); end += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(field.data() + end));
        // The sign bit of each byte is the one a UTF-8 sequence's bytes all have.
        const int found = _mm_movemask_epi8(_mm_or_si128(chunk, _mm_cmpeq_epi8(chunk, backslash)));
        if (found != 0) {
            return end + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found))) - at;
        }
    }
#endif
    while (end < field.size() && field[end] != '\\' &&
           static_cast<unsigned char>(field[end]) < 0x80) {
        ++end;
    }
    return end - at;
}

// `field` from `at` on, after its first bytes, which stand for themselves. Nothing unescapes to
// more bytes than it was written in: the room is made once, and written into in place.
template <class Plain>
void Unescape(std::string_view field, size_t at, Plain plain, std::string& bytes) {
    bytes.resize(field.size());
    char* const begin = bytes.data();
    std::memcpy(begin, field.data(), at);
    char* out = begin + at;
    while (at < field.size()) {
        const size_t run = PlainRun(field, at);
        std::memcpy(out, field.data() + at, run);
        out += run;
        at += run;
        if (at == field.size()) {
            break;
        }
        if (field[at] == '\\') {
            if (const auto escape = Escape(field, at)) {
                *out++ = escape->first;
                at += escape->second;
                continue;
            }
        }
        at += plain(field, at, out);
    }
    bytes.resize(static_cast<size_t>(out - begin));
}

size_t CopyByte(std::string_view field, size_t at, char*& out) {
    *out++ = field[at];
    return 1;
}

// A two-byte UTF-8 sequence for U+0080..U+00FF becomes its one Latin-1 byte.
size_t Latin1Byte(std::string_view field, size_t at, char*& out) {
    const auto lead = static_cast<unsigned char>(field[at]);
    if ((lead == 0xC2 || lead == 0xC3) && at + 1 < field.size()) {
        const auto next = static_cast<unsigned char>(field[at + 1]);
        if ((next & 0xC0) == 0x80) {
            *out++ = static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
            return 2;
        }
    }
    *out++ = field[at];
    return 1;
}

// The places of a timestamp's digits, 2026-12-09T01:05:03.042+01:00: all but the separators'.
constexpr uint32_t kDigitPlaces =
    0x1FFFFFFFu & ~((1u << 4) | (1u << 7) | (1u << 10) | (1u << 13) | (1u << 16) | (1u << 19) |
                    (1u << 23) | (1u << 26));

// True when each byte at a digit's place of the 29 is a digit. Every line holds a timestamp that
// both readings look at: all of them at once, rather than one field after the other.
bool DigitsInPlace(const char* t) {
#ifdef __SSE2__
    const __m128i zero = _mm_set1_epi8('0');
    const __m128i nine = _mm_set1_epi8(9);
    const auto digits = [&](const char* at) {
        const __m128i value =
            _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), zero);
        return static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(value, nine), nine)));
    };
    // Bytes 0..15 and 13..28: the timestamp's own bytes only.
    return ((digits(t) | (digits(t + 13) << 13)) & kDigitPlaces) == kDigitPlaces;
#else
    for (uint32_t at = 0; at < 29; ++at) {
        if (((kDigitPlaces >> at) & 1u) != 0 && (t[at] < '0' || t[at] > '9')) {
            return false;
        }
    }
    return true;
#endif
}

// The number written in `count` digits from `at`, each known to be one.
int Number(const char* t, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        value = value * 10 + (t[i] - '0');
    }
    return value;
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool Separators(std::string_view t) {
    return t[4] == '-' && t[7] == '-' && t[10] == 'T' && t[13] == ':' && t[16] == ':' &&
           t[19] == '.' && (t[23] == '+' || t[23] == '-') && t[26] == ':';
}

// The first quote at or after `at`, or the line's size. Fields are short: sixteen bytes looked at
// at once, in place, cost less than a call for each.
[[gnu::always_inline]] inline size_t QuoteFrom(std::string_view line, size_t at) {
#ifdef __SSE2__
    const __m128i quote = _mm_set1_epi8('"');
    for (; at + 16 <= line.size(); at += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, quote));
        if (found != 0) {
            return at + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found)));
        }
    }
#endif
    while (at < line.size() && line[at] != '"') {
        ++at;
    }
    return at;
}

}  // namespace

bool SplitFields(std::string_view line, std::vector<std::string_view>& fields,
                 std::deque<std::string>& unquoted) {
    fields.clear();
    unquoted.clear();
    size_t at = 0;
    while (true) {
        if (fields.size() == JournalFormat::kMaxFields) {
            return false;  // no layout has that many columns
        }
        if (at < line.size() && line[at] == '"') {
            const size_t begin = ++at;
            size_t quote = QuoteFrom(line, at);
            // What the journal writes: a field closed and another after it, told apart at once.
            if (quote + 1 < line.size() && line[quote + 1] == ',') {
                fields.emplace_back(line.data() + begin, quote - begin);
                at = quote + 2;
                continue;
            }
            bool doubled = false;
            while (quote < line.size() && quote + 1 < line.size() && line[quote + 1] == '"') {
                doubled = true;
                quote = QuoteFrom(line, quote + 2);
            }
            if (quote >= line.size()) {
                return false;
            }
            // Both bounds are inside the line: no check of them is needed.
            const std::string_view inside(line.data() + begin, quote - begin);
            if (!doubled) {
                fields.push_back(inside);
            } else {
                std::string& text = unquoted.emplace_back();
                for (size_t i = 0; i < inside.size(); ++i) {
                    text.push_back(inside[i]);
                    i += inside[i] == '"' ? 1 : 0;
                }
                fields.push_back(text);
            }
            at = quote + 1;
        } else {
            // Fields are short: one pass for both the comma and a stray quote.
            size_t end = at;
            while (end < line.size() && line[end] != ',' && line[end] != '"') {
                ++end;
            }
            if (end < line.size() && line[end] == '"') {
                return false;
            }
            fields.emplace_back(line.data() + at, end - at);
            at = end;
        }
        if (at == line.size()) {
            return true;
        }
        if (line[at] != ',') {
            return false;
        }
        ++at;
    }
}

std::string UnescapeText(std::string_view field) {
    std::string text;
    UnescapeTextInto(field, text);
    return text;
}

std::string UnescapeDeviceBytes(std::string_view field) {
    std::string bytes;
    UnescapeDeviceBytesInto(field, bytes);
    return bytes;
}

void UnescapeTextInto(std::string_view field, std::string& text) {
    const size_t escape = field.find('\\');
    if (escape == std::string_view::npos) {
        text.assign(field);
        return;
    }
    Unescape(field, escape, CopyByte, text);
}

void UnescapeDeviceBytesInto(std::string_view field, std::string& bytes) {
    // Most fields hold plain ASCII, which stands for itself.
    const size_t plain = PlainRun(field, 0);
    if (plain == field.size()) {
        bytes.assign(field);
        return;
    }
    Unescape(field, plain, Latin1Byte, bytes);
}

std::optional<int64_t> EpochMs(std::string_view t) {
    constexpr size_t kLength = 29;  // 2026-12-09T01:05:03.042+01:00
    if (t.size() != kLength || !Separators(t)) {
        return std::nullopt;
    }
    if (!DigitsInPlace(t.data())) {
        return std::nullopt;
    }
    const char* d = t.data();
    const int year = Number(d, 0, 4), month = Number(d, 5, 2), day = Number(d, 8, 2);
    const int hour = Number(d, 11, 2), minute = Number(d, 14, 2), second = Number(d, 17, 2);
    const int ms = Number(d, 20, 3), oh = Number(d, 24, 2), om = Number(d, 27, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) {
        return std::nullopt;
    }
    const int64_t offset = (t[23] == '-' ? -1 : 1) * (oh * 60 + om) * 60;
    const int64_t seconds =
        DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - offset;
    return seconds * 1000 + ms;
}

std::optional<ExchangeKind> KindNamed(std::string_view name) {
    for (const ExchangeKind kind : {ExchangeKind::SendConfig, ExchangeKind::ReadConfig,
                                    ExchangeKind::SendModemParam, ExchangeKind::ReadModem}) {
        if (name == JournalFormat::KindName(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

}  // namespace JournalParse
