#include "CliRequest.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "CliOptions.h"
#include "Parameters.h"
#include "PortName.h"

using namespace CliOptions;

namespace {

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

std::optional<CliCommand> PlanCommandNamed(const std::string& word) {
    if (word == "check") {
        return CliCommand::kPlanCheck;
    }
    if (word == "import") {
        return CliCommand::kPlanImport;
    }
    return word == "export" ? std::optional(CliCommand::kPlanExport) : std::nullopt;
}

// The words before the options: the command, and for plan its subcommand and file. The index
// of the first option; 0 with a reason when the words make no command.
size_t TakeCommand(const std::vector<std::string>& args, CliRequest& request, std::string& error) {
    const auto command = CommandNamed(args[0]);
    if (command) {
        request.command = *command;
        return 1;
    }
    if (args[0] != "plan") {
        error = "commande inconnue : " + args[0];
        return 0;
    }
    if (args.size() > 1 && args[1] == "--help") {
        request.command = CliCommand::kHelp;
        return 2;
    }
    const auto sub = args.size() > 1 ? PlanCommandNamed(args[1]) : std::nullopt;
    if (!sub) {
        error = "plan demande check, import ou export.";
        return 0;
    }
    request.command = *sub;
    if (*sub == CliCommand::kPlanExport) {
        return 2;
    }
    if (args.size() < 3 || args[2].starts_with("--")) {
        error = "plan " + args[1] + " demande un FICHIER.";
        return 0;
    }
    request.planFile = args[2];
    return 3;
}

// The options that name a network: an exchange journals into it, the report or the export is
// made of it.
bool AllowedNetworkOption(CliCommand command, const std::string& option) {
    if (IsExchange(command)) {
        return option == "--network" || option == "--repeaters" || option == "--journal";
    }
    return (command == CliCommand::kReport || command == CliCommand::kPlanExport) &&
           (option == "--network" || option == "--journal" || option == "--out" ||
            (command == CliCommand::kReport && (option == "--technicien" || option == "--plan")));
}

void TakeNetworkOption(CliRequest& request, const std::string& option, const std::string& value) {
    if (option == "--network") {
        request.network = value;
    } else if (option == "--repeaters") {
        request.repeaters = value;
    } else if (option == "--journal") {
        request.journals.push_back(value);
    } else if (option == "--technicien") {
        request.technician = value;
    } else if (option == "--plan") {
        request.planFile = value;
    } else {
        request.out = value;
    }
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

// Each --journal adds a folder to read; an exchange writes into one.
bool IsRepeatable(CliCommand command, const std::string& option) {
    return option == "--journal" && !IsExchange(command);
}

// Given twice, an option would leave a script unsure which value was sent.
bool GivenBefore(CliCommand command, const std::vector<std::string>& given,
                 const std::string& option, std::string& error) {
    if (IsRepeatable(command, option) ||
        std::find(given.begin(), given.end(), option) == given.end()) {
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

// "[--id N] … [--typ C]": TYP takes a character, every other parameter a number.
std::string SendOptions() {
    std::string text;
    for (const ParameterInfo& info : kParameters) {
        text += " [" + OptionOf(info) + (info.member != nullptr ? " N]" : " C]");
    }
    return text;
}

std::string ParameterNames() {
    std::string text;
    for (const ParameterInfo& info : kParameters) {
        text += (text.empty() ? "" : "|") + std::string(info.name);
    }
    return text;
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
        error = "une commande est attendue : ports, send, read, modem, report ou plan.";
        return std::nullopt;
    }
    const size_t first = TakeCommand(args, request, error);
    if (first == 0) {
        return std::nullopt;
    }
    std::vector<std::string> given;
    for (size_t i = first; i < args.size(); ++i) {
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
        if (GivenBefore(request.command, given, name, error)) {
            return std::nullopt;
        }
        given.push_back(name);
        if (option == "--json" || option == "--admin") {
            (option == "--json" ? request.json : request.admin) = true;
            continue;
        }
        if (option == "--replace" && (request.command == CliCommand::kReport ||
                                      request.command == CliCommand::kPlanExport)) {
            request.replace = true;
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

std::string CliUsage() {
    return "Usage : zav7305-cli COMMANDE [options]\n"
           "Programme et lit les appareils du réseau radio par un port série.\n"
           "\n"
           "Commandes :\n"
           "  ports                       liste les ports série (noms et numéros)\n"
           "  send  --port P" +
           SendOptions() +
           "\n"
           "                              émet une configuration complète et la relit\n"
           "  read  --port P              lit le rapport de l'appareil\n"
           "  modem --port P --param " +
           ParameterNames() +
           " --value N\n"
           "                              émet un paramètre du modem et lit son rapport\n"
           "  report --network NOM --out FICHIER.pdf|.html [--journal DOSSIER ...] [--replace]\n"
           "         [--technicien NOM] [--plan FICHIER]\n"
           "                              écrit le rapport de mise en service du réseau,\n"
           "                              jugé contre son plan (celui importé par défaut)\n"
           "  plan check FICHIER          vérifie un plan de site (toutes ses lignes fautives)\n"
           "  plan import FICHIER --admin garde le plan comme plan de son réseau\n"
           "  plan export --network NOM --out FICHIER.csv [--journal DOSSIER ...] [--replace]\n"
           "                              écrit le réseau tel que construit, au format du plan\n"
           "\n"
           "Options :\n"
           "  --port P    COM<n> ou n, comme dans la liste des ports\n"
           "  --admin     rôle Administateur : mot de passe demandé sur le terminal,\n"
           "              ou pris dans ZAV7305_PASSWORD ; sans --admin, rôle Client\n"
           "              (seul l'ID, ou P0 pour le modem, peut être donné)\n"
           "  --network NOM    le réseau dans le journal duquel l'échange est noté\n"
           "  --repeaters N    son nombre de répéteurs (" +
           std::to_string(kRepeaterCountRange.min) + " à " +
           std::to_string(kRepeaterCountRange.max) +
           "), noté avec l'échange\n"
           "  --journal DOSSIER  le dossier du journal, où send, read et modem écrivent ;\n"
           "                   report et plan export en lisent un par --journal (par défaut\n"
           "                   le vôtre)\n"
           "  --replace   remplace le rapport ou l'export qui porte déjà ce nom (sans elle,\n"
           "              il est gardé)\n"
           "  --technicien NOM  le technicien qui signe le rapport, nommé en première page\n"
           "  --json      sortie en JSON\n"
           "  --help      ce texte ;  --version  la version\n"
           "\n"
           "Codes de sortie : 0 confirmé par l'appareil, 2 arguments refusés, 3 échec du port,\n"
           "4 pas de rapport (ou rapport coupé), 5 configuration lue différente de l'envoyée,\n"
           "6 confirmé par l'appareil mais absent du journal (qui n'a pas pu être écrit) ;\n"
           "report : 0 écrit, 2 réseau inconnu ou arguments refusés, 3 non écrit (écriture\n"
           "impossible, ou un fichier de ce nom gardé faute de --replace) ;\n"
           "plan : 0 correct (check), gardé (import) ou écrit (export), 2 plan refusé (ses\n"
           "lignes fautives sur la sortie d'erreur), réseau inconnu ou arguments refusés,\n"
           "3 non écrit.\n";
}
