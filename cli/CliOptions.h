#pragma once

#include <string>

#include "CliRequest.h"
#include "Parameters.h"

// What reading the arguments and checking them both know of the options.
namespace CliOptions {

// The program's name, as its messages on the error output begin.
inline constexpr char kProgram[] = "zav7305-cli";
// A file the command was to write (a report, a plan) was not written.
inline constexpr int kExitNotWritten = 3;

// "--id" for ID: the parameter's name in lower case.
std::string OptionOf(const ParameterInfo& info);
// The parameter an option such as "--p0" sets; none for any other option.
const ParameterInfo* ParameterOfOption(const std::string& option);
std::string UnknownOption(const std::string& option);
// send, read and modem: the commands that open a port.
bool IsExchange(CliCommand command);
// plan check, plan import, plan export.
bool IsPlanCommand(CliCommand command);

}  // namespace CliOptions
