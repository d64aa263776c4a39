#include "Frames.h"

#include <array>
#include <cstdio>

namespace {

constexpr int32_t kMaxFieldValue = 255;

bool InByteRange(int32_t value) {
    return value >= 0 && value <= kMaxFieldValue;
}

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

enum PieceIndex : size_t {
    kPrefix,
    kShort1,
    kShort2,
    kShort3,
    kVer,
    kId,
    kChf,
    kOft,
    kP0,
    kPrt,
    kTyp
};

constexpr std::array<Piece, 11> kLayout{{
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

struct KeyedLine {
    const char* label;
    PieceIndex piece;
};

constexpr std::array<KeyedLine, 7> kKeyedLines{{
    {"VER= ", kVer},
    {"ID = ", kId},
    {"CHF= ", kChf},
    {"OFT= ", kOft},
    {"P0 = ", kP0},
    {"PRT= ", kPrt},
    {"TYP= ", kTyp},
}};

constexpr char kLineEnd[] = "\r\n";

std::string_view Cut(std::string_view line, size_t at, size_t length) {
    if (at >= line.size()) {
        return {};
    }
    return line.substr(at, length);
}

std::string_view PieceOf(std::string_view line, PieceIndex index) {
    const bool spaced = line.size() > 2 && line[2] == ' ';
    const Piece& p = kLayout[index];
    return Cut(line, spaced ? p.spacedAt : p.compactAt, p.length);
}

}  // namespace

std::optional<std::string> BuildConfigFrame(const ParameterSet& params) {
    const bool valuesFit = InByteRange(params.ID) && InByteRange(params.CHF) &&
                           InByteRange(params.P0) && InByteRange(params.PRT) &&
                           InByteRange(params.OFT);
    // A zero first byte would end the frame at the TYP position, exactly like an empty text;
    // a line feed would end the device's line there and leave PRT and OFT to a line of their own.
    if (!valuesFit || params.TYP.empty() || params.TYP.front() == '\0' ||
        params.TYP.front() == '\n') {
        return std::nullopt;
    }
    return Format("u%03d%03d%02d%c%03d%03d", params.ID, params.CHF, params.P0, params.TYP.front(),
                  params.PRT, params.OFT);
}

std::optional<std::string> BuildModemCommand(int32_t selectedParam, int32_t value) {
    static constexpr std::array<const char*, 6> kFormats{"i %3.3d", "c %3.3d", "p %3.3d",
                                                         "r %3.3d", "t %3.3d", "o %3.3d"};
    if (selectedParam < 1 || selectedParam > static_cast<int32_t>(kFormats.size())) {
        return std::nullopt;
    }
    return Format(kFormats[static_cast<size_t>(selectedParam - 1)], value);
}

bool IsConfigReport(std::string_view line) {
    return HasPrefix(line, "TM") || HasPrefix(line, "LC") || HasPrefix(line, "LM");
}

bool IsModemReport(std::string_view line) {
    return HasPrefix(line, "US");
}

std::string DecodeReport(std::string_view line) {
    auto piece = [&](PieceIndex index) { return PieceOf(line, index); };

    std::string text;
    text.reserve(128);
    text.append(piece(kPrefix)).append("7305rx").append(kLineEnd);
    text.append(piece(kShort1))
        .append("/")
        .append(piece(kShort2))
        .append("/")
        .append(piece(kShort3))
        .append(kLineEnd);
    for (const KeyedLine& keyed : kKeyedLines) {
        text.append(keyed.label).append(piece(keyed.piece)).append(kLineEnd);
    }
    return text;
}

ReportValues CutReportValues(std::string_view line) {
    auto piece = [&](PieceIndex index) { return std::string(PieceOf(line, index)); };
    return {piece(kId), piece(kChf), piece(kOft), piece(kP0), piece(kPrt), piece(kTyp)};
}

bool IsWholeReport(std::string_view line) {
    const std::string_view typ = PieceOf(line, kTyp);
    return typ.size() == kLayout[kTyp].length &&
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
