#include "CommandLine.h"

#include <cstring>

#include "version.h"

namespace {

bool IsSet(const char* (*getEnv)(const char*), const char* name) {
    const char* value = getEnv(name);
    return value != nullptr && *value != '\0';
}

bool Is(const char* argument, const char* a, const char* b) {
    return std::strcmp(argument, a) == 0 || std::strcmp(argument, b) == 0;
}

}  // namespace

StartAction ChooseStartAction(int argc, const char* const* argv,
                              const char* (*getEnv)(const char*)) {
    bool platformChosen = IsSet(getEnv, "QT_QPA_PLATFORM");
    for (int i = 1; i < argc; ++i) {
        if (Is(argv[i], "--help", "-h")) {
            return StartAction::PrintHelp;
        }
        if (Is(argv[i], "--version", "-v")) {
            return StartAction::PrintVersion;
        }
        platformChosen = platformChosen || Is(argv[i], "-platform", "--platform");
    }
    if (!platformChosen && !IsSet(getEnv, "DISPLAY") && !IsSet(getEnv, "WAYLAND_DISPLAY")) {
        return StartAction::NoDisplay;
    }
    return StartAction::RunTool;
}

std::string HelpText(const char* programName) {
    return std::string("Usage : ") + programName +
           " [--help] [--version]\n"
           "Programmation des répéteurs, capteurs et modem d'un réseau radio par liaison "
           "série.\n"
           "Sans option, ouvre la fenêtre de connexion ; tout se fait ensuite à l'écran.\n"
           "\n"
           "  --help     affiche ce texte\n"
           "  --version  affiche la version\n"
           "\n"
           "Le guide du technicien s'ouvre par le bouton « Aide » ou la touche F1.\n";
}

std::string VersionText() {
    return std::string(zav::version::kInternalName) + " " + ZAV_VERSION + "\n";
}

std::string NoDisplayText(const char* programName) {
    return std::string(programName) +
           " : aucun écran graphique n'est disponible (ni DISPLAY ni WAYLAND_DISPLAY) ; "
           "lancez le programme depuis une session de bureau.\n";
}
