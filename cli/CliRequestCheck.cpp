#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "CliOptions.h"
#include "CliRequest.h"
#include "Frames.h"
#include "Parameters.h"

using namespace CliOptions;

namespace {

// What the modem page labels TYP, accepted beside its name.
constexpr char kModemTypeLabel[] = "TYPE";

std::string Uppercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// A whole number beyond 64 bits is still a number, only out of every range: it comes back as
// the nearest 64-bit bound so that the range sentence tells it.
std::optional<int64_t> ParseInteger(const std::string& text) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || rest != end) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        return text.front() == '-' ? std::numeric_limits<int64_t>::min()
                                   : std::numeric_limits<int64_t>::max();
    }
    return ec == std::errc() ? std::optional(value) : std::nullopt;
}

// The editors' own refusals, with the option in front.
std::string Refusal(const std::string& option, const std::string& text) {
    return option + " : " + text;
}

bool RangedValue(const std::string& option, const std::string& text, const ValueRange& range,
                 int32_t& value, std::string& error) {
    const auto number = ParseInteger(text);
    if (!number) {
        error = Refusal(option, RefusalTexts::kNotInteger);
        return false;
    }
    if (!range.Contains(*number)) {
        error = Refusal(option, RefusalTexts::OutOfRange(range));
        return false;
    }
    value = static_cast<int32_t>(*number);
    return true;
}

// One character: ASCII, or a Latin-1 one written in UTF-8, sent as its Latin-1 byte.
std::optional<std::string> TypCharacter(const std::string& text) {
    if (text.size() == 1) {
        return text;
    }
    const auto lead = static_cast<unsigned char>(text.size() == 2 ? text[0] : 0);
    const auto trail = static_cast<unsigned char>(text.size() == 2 ? text[1] : 0);
    if ((lead == 0xC2 || lead == 0xC3) && (trail & 0xC0) == 0x80) {
        return std::string(1, static_cast<char>(((lead & 0x03) << 6) | (trail & 0x3F)));
    }
    return std::nullopt;
}

bool ApplyValue(ParameterSet& config, const ParameterInfo& info, const std::string& option,
                const std::string& text, std::string& error) {
    if (info.member == nullptr) {
        const auto typ = TypCharacter(text);
        if (!typ) {
            error = "--typ : un seul caractère (Latin-1), autre qu'un saut de ligne.";
            return false;
        }
        if (!IsPrintableTyp(typ->front())) {
            error = Refusal(option, RefusalTexts::kTypNotPrintable);
            return false;
        }
        config.TYP = *typ;
        return true;
    }
    return RangedValue(option, text, info.custom, config.*info.member, error);
}

const ParameterInfo* ModemParamNamed(const std::string& name) {
    const std::string upper = Uppercase(name);
    return ParameterNamed(upper == kModemTypeLabel ? InfoOf(Param::TYP).name : upper);
}

bool CheckConfig(const CliRequest& request, CliPlan& plan, std::string& error) {
    plan.config = CustomInitialSet();
    for (const auto& [option, text] : request.values) {
        const ParameterInfo* info = ParameterOfOption(option);
        if (info == nullptr) {
            error = UnknownOption(option);
            return false;
        }
        if (!request.admin && !info->clientConfig) {
            error = option + " : en client, seul l'ID peut être donné (--admin pour les six).";
            return false;
        }
        if (!ApplyValue(plan.config, *info, option, text, error)) {
            return false;
        }
    }
    return true;
}

bool CheckModem(const CliRequest& request, CliPlan& plan, std::string& error) {
    if (!request.param || !request.value) {
        error = "modem demande --param et --value.";
        return false;
    }
    const ParameterInfo* param = ModemParamNamed(*request.param);
    if (param == nullptr) {
        error = "--param : ID, CHF, OFT, P0, PRT ou TYP.";
        return false;
    }
    if (!request.admin && !param->clientModem) {
        error = "--param : en client, seul P0 peut être envoyé au modem (--admin pour les six).";
        return false;
    }
    plan.modemParam = param->modemNumber;
    if (param->modem) {
        return RangedValue("--value", *request.value, *param->modem, plan.modemValue, error);
    }
    const auto type = ParseInteger(*request.value);
    if (!type) {
        error = Refusal("--value", RefusalTexts::kNotInteger);
        return false;
    }
    const bool fits = *type >= std::numeric_limits<int32_t>::min() &&
                      *type <= std::numeric_limits<int32_t>::max();
    if (!fits || !IsModemTypeAllowed(static_cast<int32_t>(*type))) {
        error = Refusal("--value", RefusalTexts::kModemType);
        return false;
    }
    plan.modemValue = static_cast<int32_t>(*type);
    return true;
}

bool CheckNetwork(const CliRequest& request, CliPlan& plan, std::string& error) {
    if (request.command == CliCommand::kReport && (!request.network || !request.out)) {
        error = "report demande --network et --out (un fichier .pdf ou .html).";
        return false;
    }
    if (IsPlanCommand(request.command) && request.json) {
        error = "--json : les commandes plan écrivent du texte.";
        return false;
    }
    if (request.command == CliCommand::kPlanExport && (!request.network || !request.out)) {
        error = "plan export demande --network et --out (un fichier .csv).";
        return false;
    }
    if (request.network && request.network->empty()) {
        error = "--network : le nom du réseau ne peut pas être vide.";
        return false;
    }
    if (request.repeaters && !request.network) {
        error = "--repeaters va avec --network.";
        return false;
    }
    plan.network = request.network.value_or("");
    if (request.repeaters) {
        return RangedValue("--repeaters", *request.repeaters, kRepeaterCountRange,
                           plan.repeaterCount, error);
    }
    return true;
}

}  // namespace

std::optional<CliPlan> CheckCliRequest(const CliRequest& request, std::string& error) {
    CliPlan plan;
    if (!CheckNetwork(request, plan, error)) {
        return std::nullopt;
    }
    const bool needsPort = IsExchange(request.command);
    if (!needsPort) {
        return plan;
    }
    if (!request.port) {
        error = "--port est attendu (COM<n> ou <n>).";
        return std::nullopt;
    }
    const auto number = ParsePortName(*request.port);
    if (!number) {
        error = "--port : un nom COM<n> ou un numéro, pas " + *request.port + ".";
        return std::nullopt;
    }
    plan.portNumber = *number;
    if (request.command == CliCommand::kSend && !CheckConfig(request, plan, error)) {
        return std::nullopt;
    }
    if (request.command == CliCommand::kModem && !CheckModem(request, plan, error)) {
        return std::nullopt;
    }
    return plan;
}
