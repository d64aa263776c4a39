#include "Verdict.h"

#include <array>
#include <cstdio>
#include <utility>

#include "Frames.h"

namespace {

constexpr char kVerifiedText[] = "Configuration vérifiée";

// Judged for every record a map is built from: the usual values are written without printf.
std::string ThreeDigits(int32_t value) {
    if (value >= 0 && value <= 999) {
        return {static_cast<char>('0' + value / 100), static_cast<char>('0' + value / 10 % 10),
                static_cast<char>('0' + value % 10)};
    }
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%03d", static_cast<int>(value));
    return text.data();
}

struct Compared {
    const char* field;
    std::string sent;
    std::string read;
};

// A piece cut short holds the line's own end; it is compared as it is but shown without it.
std::string Shown(const std::string& piece) {
    return DeviceToUtf8(piece.substr(0, piece.find_first_of("\r\n")));
}

void Compare(Verdict& verdict, const Compared& c) {
    if (c.sent != c.read) {
        verdict.differences.push_back({c.field, Shown(c.sent), Shown(c.read)});
    }
}

std::string FirstCharacter(const std::string& text) {
    return text.substr(0, 1);
}

// TYP, a text, is the one parameter without a number in a ParameterSet.
Compared CompareConfig(const ParameterInfo& info, const ParameterSet& sent,
                       const ReportValues& read) {
    const std::string& piece = read[info.param];
    if (info.member == nullptr) {
        return {info.name, FirstCharacter(sent.TYP), FirstCharacter(piece)};
    }
    return {info.name, ThreeDigits(sent.*info.member), piece};
}

Verdict ComparedConfig(const ParameterSet& sent, const ReportValues& read) {
    Verdict verdict;
    for (const ParameterInfo& info : kParameters) {
        Compare(verdict, CompareConfig(info, sent, read));
    }
    return verdict;
}

// What was read agrees, but the rest of the report never came: nothing was verified.
Verdict Concluded(Verdict verdict, std::string_view report) {
    if (verdict.differences.empty() && !IsWholeReport(report)) {
        return {};
    }
    verdict.kind = verdict.differences.empty() ? VerdictKind::kVerified : VerdictKind::kDiffers;
    return verdict;
}

}  // namespace

Verdict JudgeConfig(const ParameterSet& sent, std::string_view report) {
    return Concluded(ComparedConfig(sent, CutReportValues(report)), report);
}

Verdict JudgeModemValue(const ParameterInfo& info, int32_t value, std::string_view report) {
    Verdict verdict;
    Compare(verdict, {info.name, ThreeDigits(value), CutReportValues(report)[info.param]});
    return Concluded(std::move(verdict), report);
}

Verdict JudgeReadBack(const ExchangeRecord& record) {
    if (!record.report) {
        return {};
    }
    if (record.kind == ExchangeKind::SendConfig && record.sentConfig) {
        return JudgeConfig(*record.sentConfig, *record.report);
    }
    const ParameterInfo* info = ParameterOfModemNumber(record.modemParam);
    if (record.kind == ExchangeKind::SendModemParam && info != nullptr) {
        return JudgeModemValue(*info, record.modemValue, *record.report);
    }
    return {};
}

std::string VerdictText(const Verdict& verdict) {
    if (verdict.kind == VerdictKind::kVerified) {
        return kVerifiedText;
    }
    std::string text;
    for (const FieldDifference& d : verdict.differences) {
        if (!text.empty()) {
            text += "; ";
        }
        text += d.field + " envoyé " + d.sent + ", lu " + d.read;
    }
    return text;
}
