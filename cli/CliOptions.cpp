#include "CliOptions.h"

#include <algorithm>
#include <cctype>

namespace CliOptions {

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

bool IsExchange(CliCommand command) {
    return command == CliCommand::kSend || command == CliCommand::kRead ||
           command == CliCommand::kModem;
}

bool IsPlanCommand(CliCommand command) {
    return command == CliCommand::kPlanCheck || command == CliCommand::kPlanImport ||
           command == CliCommand::kPlanExport;
}

}  // namespace CliOptions
