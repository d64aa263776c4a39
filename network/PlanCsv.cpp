#include "PlanCsv.h"

#include <algorithm>

namespace PlanCsv {

namespace {

constexpr char kQuote = '"';

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The unaccented letter of a Latin-1 letter U+00C0..U+00FF written as 0xC3 and `trail`; 0 for
// one that has none (×, ÷, Æ, ß...).
char Unaccented(unsigned char trail) {
    // From 0x80 (À) to 0xBF (ÿ), upper and lower case alike; '-' where there is none.
    constexpr std::string_view kLetters =
        "aaaaaa-ceeeeiiii-nooooo--uuuuy--aaaaaa-ceeeeiiii-nooooo--uuuuy-y";
    static_assert(kLetters.size() == 0x40);
    const size_t at = trail - 0x80u;
    return at < kLetters.size() && kLetters[at] != '-' ? kLetters[at] : '\0';
}

// The length of the UTF-8 sequence led by `lead`; 0 for a byte that cannot lead one.
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

}  // namespace

char SeparatorOf(std::string_view line) {
    bool quoted = false;
    for (const char c : line) {
        if (c == kQuote) {
            quoted = !quoted;
        } else if (!quoted && (c == ';' || c == ',')) {
            return c;
        }
    }
    return '\0';
}

bool SplitLine(std::string_view line, char separator, std::vector<std::string>& fields) {
    fields.clear();
    size_t at = 0;
    for (;;) {
        size_t start = at;
        while (start < line.size() && IsBlank(line[start])) {
            ++start;
        }
        std::string field;
        if (start < line.size() && line[start] == kQuote) {
            size_t i = start + 1;
            for (;; ++i) {
                if (i >= line.size()) {
                    return false;
                }
                if (line[i] == kQuote) {
                    if (i + 1 < line.size() && line[i + 1] == kQuote) {
                        field += kQuote;
                        ++i;
                        continue;
                    }
                    break;
                }
                field += line[i];
            }
            const size_t end = line.find(separator, i + 1);
            // What follows the closing quote up to the separator is kept, as spreadsheets do.
            field += Trimmed(line.substr(i + 1, end - std::min(end, i + 1)));
            at = end;
        } else {
            const size_t end = line.find(separator, at);
            field = Trimmed(line.substr(at, end == std::string_view::npos ? end : end - at));
            at = end;
        }
        fields.push_back(std::move(field));
        if (at == std::string_view::npos) {
            return true;
        }
        ++at;
    }
}

std::string Quoted(std::string_view field, char separator) {
    const bool plain = field.find_first_of(std::string{separator, kQuote}) == std::string::npos &&
                       Trimmed(field).size() == field.size();
    if (plain) {
        return std::string(field);
    }
    std::string text(1, kQuote);
    for (const char c : field) {
        text += c;
        if (c == kQuote) {
            text += kQuote;
        }
    }
    return text + kQuote;
}

std::string Folded(std::string_view text) {
    text = Trimmed(text);
    std::string folded;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            folded += static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xC3 && i + 1 < text.size() &&
                   Unaccented(static_cast<unsigned char>(text[i + 1])) != '\0') {
            folded += Unaccented(static_cast<unsigned char>(text[++i]));
        } else {
            folded += static_cast<char>(c);
        }
    }
    return folded;
}

bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = SequenceLength(lead);
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        const auto second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0x80);
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

bool HasControl(std::string_view utf8) {
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const auto next = static_cast<unsigned char>(i + 1 < utf8.size() ? utf8[i + 1] : 0);
        if (c < 0x20 || c == 0x7F || (c == 0xC2 && next >= 0x80 && next <= 0x9F)) {
            return true;
        }
    }
    return false;
}

std::string Shown(std::string_view text) {
    constexpr size_t kShownLimit = 40;
    std::string shown;
    size_t i = 0;
    // Cut only before a character's first byte.
    for (; i < text.size() && (shown.size() < kShownLimit || (text[i] & 0xC0) == 0x80); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(i + 1 < text.size() ? text[i + 1] : 0);
        const bool c1 = c == 0xC2 && next >= 0x80 && next <= 0x9F;
        shown += c < 0x20 || c == 0x7F || c1 ? '?' : text[i];
        i += c1 ? 1 : 0;
    }
    return i < text.size() ? shown + "…" : shown;
}

}  // namespace PlanCsv
