#include "CliRequest.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <limits>
#include <string_view>

#include "Frames.h"
#include "Parameters.h"
#include "PortName.h"

namespace {

// What the modem page labels TYP, accepted beside its name.
constexpr char kModemTypeLabel[] = "TYPE";

std::string Uppercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// "--id" for ID: the parameter's name in lower case.
std::string OptionOf(const ParameterInfo& info) {
    std::string option = std::string("--") + info.name;
    std::transform(option.begin(), option.end(), option.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return option;
}

std::string UnknownOption(const std::string& option) {
    return "option " + option + " inconnue pour cette commande.";
}

const ParameterInfo* ParameterOfOption(const std::string& option) {
    for (const ParameterInfo& info : kParameters) {
        if (option == OptionOf(info)) {
            return &info;
        }
    }
    return nullptr;
}

std::optional<CliCommand> CommandNamed(const std::string& word) {
    static const std::array<std::pair<const char*, CliCommand>, 7> kCommands = {{
        {"ports", CliCommand::kPorts},
        {"send", CliCommand::kSend},
        {"read", CliCommand::kRead},
        {"modem", CliCommand::kModem},
        {"report", CliCommand::kReport},
        {"--help", CliCommand::kHelp},
        {"--version", CliCommand::kVersion},
    }};
    for (const auto& [name, command] : kCommands) {
        if (word == name) {
            return command;
        }
    }
    return std::nullopt;
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

bool IsExchange(CliCommand command) {
    return command == CliCommand::kSend || command == CliCommand::kRead ||
           command == CliCommand::kModem;
}

// The options that name a network: an exchange journals into it, the report is made of it.
bool AllowedNetworkOption(CliCommand command, const std::string& option) {
    if (IsExchange(command)) {
        return option == "--network" || option == "--repeaters";
    }
    return command == CliCommand::kReport &&
           (option == "--network" || option == "--journal" || option == "--out");
}

void TakeNetworkOption(CliRequest& request, const std::string& option, const std::string& value) {
    if (option == "--network") {
        request.network = value;
    } else if (option == "--repeaters") {
        request.repeaters = value;
    } else if (option == "--journal") {
        request.journals.push_back(value);
    } else {
        request.out = value;
    }
}

bool CheckNetwork(const CliRequest& request, CliPlan& plan, std::string& error) {
    if (request.command == CliCommand::kReport && (!request.network || !request.out)) {
        error = "report demande --network et --out (un fichier .pdf ou .html).";
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
        return RangedValue("--repeaters", *request.repeaters, ValueRange{0, 240},
                           plan.repeaterCount, error);
    }
    return true;
}

// Which options each command takes besides --json and --admin.
bool Allowed(CliCommand command, const std::string& option) {
    if (AllowedNetworkOption(command, option)) {
        return true;
    }
    switch (command) {
        case CliCommand::kPorts:
            return false;
        case CliCommand::kSend:
            return option == "--port" || ParameterOfOption(option) != nullptr;
        case CliCommand::kRead:
            return option == "--port";
        case CliCommand::kModem:
            return option == "--port" || option == "--param" || option == "--value";
        default:
            return false;
    }
}

// Each --journal adds a folder to read.
bool IsRepeatable(const std::string& option) {
    return option == "--journal";
}

// Given twice, an option would leave a script unsure which value was sent.
bool GivenBefore(const std::vector<std::string>& given, const std::string& option,
                 std::string& error) {
    if (IsRepeatable(option) || std::find(given.begin(), given.end(), option) == given.end()) {
        return false;
    }
    error = "option " + option + " donnée deux fois.";
    return true;
}

bool TakeOption(CliRequest& request, const std::string& option, const std::string& value,
                std::string& error) {
    if (!Allowed(request.command, option)) {
        error = UnknownOption(option);
        return false;
    }
    if (AllowedNetworkOption(request.command, option)) {
        TakeNetworkOption(request, option, value);
    } else if (option == "--port") {
        request.port = value;
    } else if (option == "--param") {
        request.param = value;
    } else if (option == "--value") {
        request.value = value;
    } else {
        request.values.emplace_back(option, value);
    }
    return true;
}

}  // namespace

std::optional<int32_t> ParsePortName(const std::string& text) {
    constexpr std::string_view kLowerPrefix = "com";
    const size_t prefixSize = PortName::kPrefix.size();
    std::string_view digits = text;
    const std::string_view head = digits.substr(0, prefixSize);
    if (digits.size() > prefixSize && (head == PortName::kPrefix || head == kLowerPrefix)) {
        digits.remove_prefix(prefixSize);
    }
    // Unlike the port list's names, a number typed here may carry leading zeros.
    digits.remove_prefix(
        std::min(digits.find_first_not_of('0'), digits.empty() ? 0 : digits.size() - 1));
    const auto number = PortName::Parse(std::string(PortName::kPrefix) + std::string(digits));
    if (!number || *number < 1) {
        return std::nullopt;
    }
    return number;
}

std::optional<CliRequest> ParseCliArguments(const std::vector<std::string>& args,
                                            std::string& error) {
    CliRequest request;
    if (args.empty()) {
        error = "une commande est attendue : ports, send, read, modem ou report.";
        return std::nullopt;
    }
    const auto command = CommandNamed(args[0]);
    if (!command) {
        error = "commande inconnue : " + args[0];
        return std::nullopt;
    }
    request.command = *command;
    std::vector<std::string> given;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string option = args[i];
        if (option == "--help") {
            request.command = CliCommand::kHelp;
            return request;
        }
        if (request.command == CliCommand::kHelp || request.command == CliCommand::kVersion) {
            error = "argument en trop : " + option;
            return std::nullopt;
        }
        const std::string name = option.substr(0, option.find('='));
        if (GivenBefore(given, name, error)) {
            return std::nullopt;
        }
        given.push_back(name);
        if (option == "--json" || option == "--admin") {
            (option == "--json" ? request.json : request.admin) = true;
            continue;
        }
        std::optional<std::string> value;
        if (const size_t equals = option.find('='); equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.resize(equals);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (option.rfind("--", 0) != 0) {
            error = "argument inattendu : " + option;
            return std::nullopt;
        }
        if (!value) {
            error = option + " demande une valeur.";
            return std::nullopt;
        }
        if (!TakeOption(request, option, *value, error)) {
            return std::nullopt;
        }
    }
    return request;
}

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

std::string CliUsage() {
    return "Usage : zav7305-cli COMMANDE [options]\n"
           "Programme et lit les appareils du réseau radio par un port série.\n"
           "\n"
           "Commandes :\n"
           "  ports                       liste les ports série (noms et numéros)\n"
           "  send  --port P [--id N] [--chf N] [--oft N] [--p0 N] [--prt N] [--typ C]\n"
           "                              émet une configuration complète et la relit\n"
           "  read  --port P              lit le rapport de l'appareil\n"
           "  modem --port P --param ID|CHF|OFT|P0|PRT|TYP --value N\n"
           "                              émet un paramètre du modem et lit son rapport\n"
           "  report --network NOM --out FICHIER.pdf|.html [--journal DOSSIER ...]\n"
           "                              écrit le rapport de mise en service du réseau\n"
           "\n"
           "Options :\n"
           "  --port P    COM<n> ou n, comme dans la liste des ports\n"
           "  --admin     rôle Administateur : mot de passe demandé sur le terminal,\n"
           "              ou pris dans ZAV7305_PASSWORD ; sans --admin, rôle Client\n"
           "              (seul l'ID, ou P0 pour le modem, peut être donné)\n"
           "  --network NOM    le réseau dans le journal duquel l'échange est noté\n"
           "  --repeaters N    son nombre de répéteurs (0 à 240), noté avec l'échange\n"
           "  --journal DOSSIER  un dossier de journal à lire (répétable ; par défaut le vôtre)\n"
           "  --json      sortie en JSON\n"
           "  --help      ce texte ;  --version  la version\n"
           "\n"
           "Codes de sortie : 0 confirmé par l'appareil, 2 arguments refusés, 3 échec du port,\n"
           "4 pas de rapport (ou rapport coupé), 5 configuration lue différente de l'envoyée,\n"
           "6 confirmé par l'appareil mais absent du journal (qui n'a pas pu être écrit) ;\n"
           "report : 0 écrit, 2 réseau inconnu ou arguments refusés, 3 écriture impossible.\n";
}
