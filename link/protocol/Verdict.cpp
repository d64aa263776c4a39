#include "Verdict.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <utility>

#include "Frames.h"

namespace {

constexpr char kVerifiedText[] = "Configuration vérifiée";

// Judged for every record a map is built from: the usual values are written without printf, in
// `text`, which the digits are read from.
std::string_view ThreeDigits(int32_t value, std::array<char, 16>& text) {
    if (value >= 0 && value <= 999) {
        text = {static_cast<char>('0' + value / 100), static_cast<char>('0' + value / 10 % 10),
                static_cast<char>('0' + value % 10)};
        return {text.data(), 3};
    }
    std::snprintf(text.data(), text.size(), "%03d", static_cast<int>(value));
    return text.data();
}

struct Compared {
    const char* field;
    std::string_view sent;
    std::string_view read;
};

// A piece cut short holds the line's own end; it is compared as it is but shown without it.
std::string Shown(std::string_view piece) {
    return DeviceToUtf8(piece.substr(0, piece.find_first_of("\r\n")));
}

// Judged for every record a map is built from: the texts are made only for a difference.
void Compare(Verdict& verdict, const Compared& c) {
    if (c.sent != c.read) {
        verdict.differences.push_back({c.field, Shown(c.sent), Shown(c.read)});
    }
}

// TYP, a text, is the one parameter without a number in a ParameterSet: its first character.
void CompareConfig(Verdict& verdict, const ParameterInfo& info, const ParameterSet& sent,
                   const ReportValues& read) {
    const std::string_view piece = read[info.param];
    if (info.member == nullptr) {
        Compare(verdict, {info.name, std::string_view(sent.TYP).substr(0, 1), piece.substr(0, 1)});
        return;
    }
    std::array<char, 16> text{};
    Compare(verdict, {info.name, ThreeDigits(sent.*info.member, text), piece});
}

Verdict ComparedConfig(const ParameterSet& sent, const ReportValues& read) {
    Verdict verdict;
    for (const ParameterInfo& info : kParameters) {
        CompareConfig(verdict, info, sent, read);
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
    std::array<char, 16> text{};
    const ReportValues read = CutReportValues(report);
    Compare(verdict, {info.name, ThreeDigits(value, text), read[info.param]});
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
