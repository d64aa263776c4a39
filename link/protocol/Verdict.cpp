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

Verdict JudgeConfig(const ParameterSet& sent, const ReportValues& read) {
    Verdict verdict;
    Compare(verdict, {"ID", ThreeDigits(sent.ID), read.ID});
    Compare(verdict, {"CHF", ThreeDigits(sent.CHF), read.CHF});
    Compare(verdict, {"OFT", ThreeDigits(sent.OFT), read.OFT});
    Compare(verdict, {"P0", ThreeDigits(sent.P0), read.P0});
    Compare(verdict, {"PRT", ThreeDigits(sent.PRT), read.PRT});
    Compare(verdict, {"TYP", FirstCharacter(sent.TYP), FirstCharacter(read.TYP)});
    return verdict;
}

Verdict JudgeModem(int32_t param, int32_t value, const ReportValues& read) {
    // In the order of the modem commands: i c p r t o.
    const std::array<std::pair<const char*, const std::string*>, 6> kByParam = {{
        {"ID", &read.ID},
        {"CHF", &read.CHF},
        {"P0", &read.P0},
        {"PRT", &read.PRT},
        {"TYP", &read.TYP},
        {"OFT", &read.OFT},
    }};
    Verdict verdict;
    const auto& [field, piece] = kByParam[static_cast<size_t>(param - 1)];
    Compare(verdict, {field, ThreeDigits(value), *piece});
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
    } else if (record.kind == ExchangeKind::SendModemParam && record.modemParam >= 1 &&
               record.modemParam <= 6) {
        verdict = JudgeModem(record.modemParam, record.modemValue, read);
    } else {
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
