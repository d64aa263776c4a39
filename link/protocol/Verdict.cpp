#include "Verdict.h"

#include <array>
#include <cstdio>

#include "Frames.h"

namespace {

constexpr char kVerifiedText[] = "Configuration vérifiée";

std::string ThreeDigits(int32_t value) {
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

Verdict JudgeConfig(const ParameterSet& sent, const ReportValues& read) {
    Verdict verdict;
    for (const ParameterInfo& info : kParameters) {
        Compare(verdict, CompareConfig(info, sent, read));
    }
    return verdict;
}

Verdict JudgeModem(const ParameterInfo& info, int32_t value, const ReportValues& read) {
    Verdict verdict;
    Compare(verdict, {info.name, ThreeDigits(value), read[info.param]});
    return verdict;
}

}  // namespace

Verdict JudgeReadBack(const ExchangeRecord& record) {
    if (!record.report) {
        return {};
    }
    const ReportValues read = CutReportValues(*record.report);
    Verdict verdict;
    if (record.kind == ExchangeKind::SendConfig && record.sentConfig) {
        verdict = JudgeConfig(*record.sentConfig, read);
    } else if (const ParameterInfo* info = ParameterOfModemNumber(record.modemParam);
               record.kind == ExchangeKind::SendModemParam && info != nullptr) {
        verdict = JudgeModem(*info, record.modemValue, read);
    } else {
        return {};
    }
    if (verdict.differences.empty() && !IsWholeReport(*record.report)) {
        // What was read agrees, but the rest of the report never came: nothing was verified.
        return {};
    }
    verdict.kind = verdict.differences.empty() ? VerdictKind::kVerified : VerdictKind::kDiffers;
    return verdict;
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
