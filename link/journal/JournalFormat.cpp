#include "JournalFormat.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "Frames.h"
#include "JournalColumns.h"

namespace JournalFormat {

const char* KindName(ExchangeKind kind) {
    switch (kind) {
        case ExchangeKind::SendConfig:
            return "émission";
        case ExchangeKind::ReadConfig:
            return "lecture";
        case ExchangeKind::SendModemParam:
            return "émission modem";
        case ExchangeKind::ReadModem:
            return "lecture modem";
    }
    return "";
}

namespace {

void HexEscape(std::string& text, unsigned char byte) {
    std::array<char, 8> hex{};
    std::snprintf(hex.data(), hex.size(), "\\x%02X", byte);
    text += hex.data();
}

// The characters a spreadsheet opening the journal takes for the start of a formula.
bool StartsFormula(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@';
}

// Control bytes become escapes; the rest goes through `plain`.
template <class Plain>
std::string Escape(std::string_view bytes, Plain plain) {
    std::string text;
    text.reserve(bytes.size() + 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                text += "\\\\";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            case '\t':
                text += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    HexEscape(text, byte);
                } else {
                    plain(text, c);
                }
                break;
        }
    }
    return text;
}

// The day files: "2026-12-09.csv", and "2026-12-09.2.csv" for the day's later parts.
constexpr std::string_view kExtension = ".csv";
constexpr char kDateFormat[] = "%Y-%m-%d";
constexpr size_t kDateLength = 10;  // what kDateFormat writes
constexpr char kPartSeparator = '.';

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool LocalTime(const timespec& when, tm& local) {
    const time_t seconds = when.tv_sec;
    return localtime_r(&seconds, &local) != nullptr;
}

// A field a spreadsheet would run as a formula starts with its first character's escape
// instead, which every reader of the journal turns back into that character.
std::string Unformula(const std::string& field) {
    if (field.empty() || !StartsFormula(field.front())) {
        return field;
    }
    std::string text;
    HexEscape(text, static_cast<unsigned char>(field.front()));
    return text + field.substr(1);
}

std::string Join(const std::vector<std::string>& fields) {
    std::string line;
    line.reserve(512);
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += Quote(Unformula(fields[i]));
    }
    return line + "\n";
}

}  // namespace

std::string EscapeDeviceBytes(std::string_view bytes) {
    return Escape(bytes, [](std::string& text, char c) { text += DeviceToUtf8({&c, 1}); });
}

std::string EscapeText(std::string_view utf8) {
    return Escape(utf8, [](std::string& text, char c) { text.push_back(c); });
}

std::string Quote(std::string_view field) {
    std::string text = "\"";
    for (const char c : field) {
        text.push_back(c);
        if (c == '"') {
            text.push_back('"');
        }
    }
    return text + "\"";
}

std::string Timestamp(const timespec& when) {
    tm local{};
    if (!LocalTime(when, local)) {
        return {};
    }
    std::array<char, 64> date{};
    std::strftime(date.data(), date.size(), "%Y-%m-%dT%H:%M:%S", &local);
    const long offsetMinutes = local.tm_gmtoff / 60;
    const long absolute = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    std::array<char, 32> tail{};
    std::snprintf(tail.data(), tail.size(), ".%03d%c%02d:%02d",
                  static_cast<int>(when.tv_nsec / 1000000), offsetMinutes < 0 ? '-' : '+',
                  static_cast<int>(absolute / 60 % 100), static_cast<int>(absolute % 60));
    return std::string(date.data()) + tail.data();
}

std::string FileName(const timespec& when) {
    tm local{};
    if (!LocalTime(when, local)) {
        return "journal" + std::string(kExtension);
    }
    std::array<char, 32> date{};
    std::strftime(date.data(), date.size(), kDateFormat, &local);
    return date.data() + std::string(kExtension);
}

std::string FileName(const timespec& when, int part) {
    std::string name = FileName(when);
    if (part > 1) {
        name.insert(name.size() - kExtension.size(), kPartSeparator + std::to_string(part));
    }
    return name;
}

bool IsFileName(std::string_view name) {
    if (name.size() < kDateLength + kExtension.size() || !name.ends_with(kExtension)) {
        return false;
    }
    for (size_t i = 0; i < kDateLength; ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? name[i] != '-' : !IsDigit(name[i])) {
            return false;
        }
    }
    const std::string_view part =
        name.substr(kDateLength, name.size() - kDateLength - kExtension.size());
    if (part.empty()) {
        return true;
    }
    return part.size() >= 2 && part[0] == kPartSeparator &&
           std::all_of(part.begin() + 1, part.end(), IsDigit);
}

size_t FieldCount() {
    return JournalColumns::All().size();
}

const std::vector<std::string>& ColumnNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const JournalColumns::Column& column : JournalColumns::All()) {
            all.push_back(column.header);
        }
        return all;
    }();
    return names;
}

std::string HeaderLine() {
    return Join(ColumnNames());
}

std::string RecordLine(const JournalContext& context, const ExchangeRecord& record,
                       const timespec& when) {
    const ReportValues values = record.report ? CutReportValues(*record.report) : ReportValues{};
    const JournalColumns::RecordInput input{context, record, when, values};
    std::vector<std::string> fields;
    for (const JournalColumns::Column& column : JournalColumns::All()) {
        fields.push_back(column.write(input));
    }
    return Join(fields);
}

}  // namespace JournalFormat
