#pragma once

#include <string>

// What the program does with its command line, decided before any Qt object exists: Qt
// aborts when it finds no display, and answering --help or --version needs none.
enum class StartAction { RunTool, PrintHelp, PrintVersion, NoDisplay };

// `getEnv` reads one environment variable (null when unset), as std::getenv does.
StartAction ChooseStartAction(int argc, const char* const* argv,
                              const char* (*getEnv)(const char*));

std::string HelpText(const char* programName);
std::string VersionText();
// One line for standard error when no display can be reached.
std::string NoDisplayText(const char* programName);
