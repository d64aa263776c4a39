#include "Frames.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace {

std::string Format(const char* format, auto... values) {
    std::array<char, 64> text{};
    const int length = std::snprintf(text.data(), text.size(), format, values...);
    // Values are range-checked or plain ints, so the text always fits.
    return length < 0 ? std::string() : std::string(text.data());
}

bool HasPrefix(std::string_view line, std::string_view prefix) {
    return line.size() >= prefix.size() && line.substr(0, prefix.size()) == prefix;
}

struct Piece {
    size_t compactAt;
    size_t spacedAt;
    size_t length;
};

// The six parameters follow the version, in the order the table lists them.
enum PieceIndex : size_t { kPrefix, kShort1, kShort2, kShort3, kVer, kFirstParameter };

constexpr std::array<Piece, kFirstParameter + kParamCount> kLayout{{
    {0, 0, 2},
    {2, 3, 2},
    {4, 6, 2},
    {6, 9, 2},
    {8, 13, 3},
    {11, 18, 3},
    {14, 23, 3},
    {17, 28, 3},
    {20, 33, 3},
    {23, 38, 3},
    {26, 43, 3},
}};

// A configuration frame: "u", then each parameter in this order, this many digits at least.
struct FrameSlot {
    Param param;
    size_t width;
};
constexpr char kFramePrefix = 'u';
constexpr std::array<FrameSlot, kParamCount> kFrameOrder{{
    {Param::ID, 3},
    {Param::CHF, 3},
    {Param::P0, 2},
    {Param::TYP, 1},
    {Param::PRT, 3},
    {Param::OFT, 3},
}};
constexpr size_t kShortestFrame = 16;

std::optional<int32_t> Number(std::string_view digits) {
    int32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [at, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || at != end) {
        return std::nullopt;
    }
    return value;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value of a few digits, each known to be one: a map reads the frame of every send it holds.
int32_t ValueOfDigits(std::string_view digits) {
    int32_t value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

constexpr char kLineEnd[] = "\r\n";
// Names are padded so that the values of the status text stand in one column.
constexpr size_t kKeyWidth = 3;
constexpr char kKeyVersion[] = "VER";

std::string_view Cut(std::string_view line, size_t at, size_t length) {
    if (at >= line.size()) {
        return {};
    }
    return line.substr(at, length);
}

std::string_view PieceOf(std::string_view line, size_t index) {
    const bool spaced = line.size() > 2 && line[2] == ' ';
    const Piece& p = kLayout[index];
    return Cut(line, spaced ? p.spacedAt : p.compactAt, p.length);
}

constexpr size_t PieceOfParameter(Param param) {
    return kFirstParameter + static_cast<size_t>(param);
}

void AppendKeyedLine(std::string& text, std::string_view key, std::string_view value) {
    text.append(key).append(kKeyWidth - std::min(key.size(), kKeyWidth), ' ');
    text.append("= ").append(value).append(kLineEnd);
}

}  // namespace

bool IsPrintableTyp(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return (value >= 0x20 && value < 0x7F) || value >= 0xA0;
}

std::optional<std::string> BuildConfigFrame(const ParameterSet& params) {
    const bool valuesFit =
        std::all_of(kParameters.begin(), kParameters.end(), [&](const ParameterInfo& info) {
            return info.member == nullptr || kByteRange.Contains(params.*info.member);
        });
    if (!valuesFit || params.TYP.empty() || !IsPrintableTyp(params.TYP.front())) {
        return std::nullopt;
    }
    std::string frame(1, kFramePrefix);
    for (const FrameSlot& slot : kFrameOrder) {
        frame += FrameField(params, slot.param);
    }
    return frame;
}

std::string FrameField(const ParameterSet& params, Param param) {
    const ParameterInfo& info = InfoOf(param);
    if (info.member == nullptr) {
        return params.TYP.substr(0, 1);
    }
    const auto slot = std::find_if(kFrameOrder.begin(), kFrameOrder.end(),
                                   [param](const FrameSlot& s) { return s.param == param; });
    return Format("%0*d", static_cast<int>(slot->width), params.*info.member);
}

// Only P0 may take one digit more than its slot: every other number is at most 255.
std::optional<ParameterSet> ParameterSetOfFrame(std::string_view frame) {
    if (frame.size() < kShortestFrame || frame.size() > kShortestFrame + 1 ||
        frame.front() != kFramePrefix) {
        return std::nullopt;
    }
    ParameterSet params;
    size_t at = 1;
    for (const FrameSlot& slot : kFrameOrder) {
        const ParameterInfo& info = InfoOf(slot.param);
        const size_t width =
            slot.width + (slot.param == Param::P0 ? frame.size() - kShortestFrame : 0);
        const std::string_view field = frame.substr(at, width);
        at += width;
        if (info.member == nullptr) {
            params.TYP = std::string(field);
        } else if (AllDigits(field)) {
            params.*info.member = ValueOfDigits(field);
        } else {
            return std::nullopt;
        }
    }
    return params;
}

std::optional<ModemSetting> SettingOfModemCommand(std::string_view command) {
    if (command.size() < 3 || command[1] != ' ') {
        return std::nullopt;
    }
    const auto info =
        std::find_if(kParameters.begin(), kParameters.end(),
                     [&](const ParameterInfo& p) { return p.modemLetter == command[0]; });
    const std::string_view digits = command.substr(2);
    const bool signedDigits = AllDigits(digits.starts_with('-') ? digits.substr(1) : digits);
    const std::optional<int32_t> value = signedDigits ? Number(digits) : std::nullopt;
    if (info == kParameters.end() || !value) {
        return std::nullopt;
    }
    return ModemSetting{&*info, *value};
}

std::optional<std::string> BuildModemCommand(int32_t selectedParam, int32_t value) {
    const ParameterInfo* info = ParameterOfModemNumber(selectedParam);
    if (info == nullptr) {
        return std::nullopt;
    }
    return Format("%c %3.3d", info->modemLetter, value);
}

bool IsConfigReport(std::string_view line) {
    return HasPrefix(line, "TM") || HasPrefix(line, "LC") || HasPrefix(line, "LM");
}

bool IsModemReport(std::string_view line) {
    return HasPrefix(line, "US");
}

std::string DecodeReport(std::string_view line) {
    auto piece = [&](size_t index) { return PieceOf(line, index); };

    std::string text;
    text.reserve(128);
    text.append(piece(kPrefix)).append("7305rx").append(kLineEnd);
    text.append(piece(kShort1))
        .append("/")
        .append(piece(kShort2))
        .append("/")
        .append(piece(kShort3))
        .append(kLineEnd);
    AppendKeyedLine(text, kKeyVersion, piece(kVer));
    for (const ParameterInfo& info : kParameters) {
        AppendKeyedLine(text, info.name, piece(PieceOfParameter(info.param)));
    }
    return text;
}

ReportValues CutReportValues(std::string_view line) {
    ReportValues values;
    for (const ParameterInfo& info : kParameters) {
        values.pieces[static_cast<size_t>(info.param)] =
            PieceOf(line, PieceOfParameter(info.param));
    }
    return values;
}

bool IsWholeReport(std::string_view line) {
    const size_t last = PieceOfParameter(Param::TYP);
    const std::string_view typ = PieceOf(line, last);
    return typ.size() == kLayout[last].length &&
           typ.find_first_of("\r\n") == std::string_view::npos;
}

std::string DeviceToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text.push_back(c);
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}
