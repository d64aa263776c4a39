#include "JournalFormat.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
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

// What sync tools put in the names of the copies they make of a file two machines changed.
constexpr std::array<std::string_view, 2> kConflictWords = {"conflict", "conflit"};

bool IsPart(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A name SafeMachineName can give.
bool IsMachine(std::string_view text) {
    const auto allowed = [](char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || c == '-'; };
    if (text.empty() || text.size() > kMaxMachineLength || text.front() == '-' ||
        text.back() == '-' || !std::all_of(text.begin(), text.end(), allowed) ||
        std::all_of(text.begin(), text.end(), IsDigit)) {
        return false;
    }
    return std::none_of(kConflictWords.begin(), kConflictWords.end(),
                        [text](std::string_view word) { return text.find(word) != text.npos; });
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

std::string MachineName() {
    if (const char* chosen = std::getenv("ZAV7305_MACHINE"); chosen != nullptr && *chosen != 0) {
        return SafeMachineName(chosen);
    }
    std::array<char, 256> host{};
    if (::gethostname(host.data(), host.size() - 1) != 0) {
        return SafeMachineName({});
    }
    // The host's own label: a domain the network hands out changes from site to site.
    const std::string_view name(host.data());
    return SafeMachineName(name.substr(0, name.find('.')));
}

std::string SafeMachineName(std::string_view raw) {
    std::string name;
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsDigit(c) || (c >= 'a' && c <= 'z')) {
            name.push_back(c);
        } else if (c >= 'A' && c <= 'Z') {
            name.push_back(static_cast<char>(byte - 'A' + 'a'));
        } else if (!name.empty() && name.back() != '-') {
            name.push_back('-');
        }
    }
    for (const std::string_view word : kConflictWords) {
        for (size_t at = name.find(word); at != std::string::npos; at = name.find(word)) {
            name.replace(at, word.size(), "poste");
        }
    }
    if (name.size() > kMaxMachineLength) {
        name.resize(kMaxMachineLength);
    }
    while (!name.empty() && name.back() == '-') {
        name.pop_back();
    }
    if (name.empty()) {
        return "poste";
    }
    return std::all_of(name.begin(), name.end(), IsDigit) ? "poste-" + name.substr(0, 26) : name;
}

std::string FileName(const timespec& when) {
    return FileName(when, MachineName(), 1);
}

std::string FileName(const timespec& when, int part) {
    return FileName(when, MachineName(), part);
}

std::string FileName(const timespec& when, std::string_view machine, int part) {
    tm local{};
    std::string name = "journal";
    if (LocalTime(when, local)) {
        std::array<char, 32> date{};
        std::strftime(date.data(), date.size(), kDateFormat, &local);
        name = date.data();
    }
    if (!machine.empty()) {
        name += kPartSeparator;
        name += machine;
    }
    if (part > 1) {
        name += kPartSeparator + std::to_string(part);
    }
    return name + std::string(kExtension);
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
    std::string_view rest = name.substr(kDateLength, name.size() - kDateLength - kExtension.size());
    if (rest.empty()) {
        return true;
    }
    if (rest[0] != kPartSeparator) {
        return false;
    }
    rest.remove_prefix(1);
    const size_t dot = rest.find(kPartSeparator);
    const std::string_view first = rest.substr(0, dot);
    if (dot == std::string_view::npos && IsPart(first)) {
        return true;  // an older name's part
    }
    return IsMachine(first) && (dot == std::string_view::npos || IsPart(rest.substr(dot + 1)));
}

std::string_view MachineOf(std::string_view fileName) {
    if (!IsFileName(fileName) || fileName.size() == kDateLength + kExtension.size()) {
        return {};
    }
    const std::string_view rest =
        fileName.substr(kDateLength + 1, fileName.size() - kDateLength - 1 - kExtension.size());
    const std::string_view first = rest.substr(0, rest.find(kPartSeparator));
    return IsMachine(first) ? first : std::string_view();
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
