// zav7305-cli: the bench and script side of the tool, on the link library alone.

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "CCliRunner.h"
#include "CJournal.h"
#include "CPortDirectory.h"
#include "CSystemClock.h"
#include "JournalSettings.h"
#include "PasswordPrompt.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const CPortDirectory ports;
    const char* password = std::getenv("ZAV7305_PASSWORD");
    CliEnvironment environment{
        CSystemClock::Instance(),
        ports,
        JournalSettings::UserFolder(),
        password != nullptr ? std::optional<std::string>(password) : std::nullopt,
        [] { return AskPasswordOnTerminal("Mot de passe Administateur : "); },
        std::cout,
        std::cerr,
    };
    CCliRunner runner(environment);
    const int code = runner.Run(args);
    std::cout.flush();
    return code;
}
