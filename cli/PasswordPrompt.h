#pragma once

#include <optional>
#include <string>

// Asks for a password on the controlling terminal with echo off, and puts echo back on
// every path. Nothing when the process has no terminal.
std::optional<std::string> AskPasswordOnTerminal(const char* prompt);
