#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ParameterSet.h"

// Exit codes, each its own so that a script can tell what went wrong.
enum CliExit : int {
    kExitConfirmed = 0,       // the device confirmed: report whole and, after a send, verified
    kExitBadArguments = 2,    // refused before any port was opened (the password included)
    kExitPortFailure = 3,     // no such port, or it could not be opened or written
    kExitNoReport = 4,        // no report in time, or one cut short
    kExitVerdictDiffers = 5,  // a whole report that differs from what was sent
    kExitNotJournaled = 6     // the device confirmed, but the journal could not be written
};

enum class CliCommand {
    kNone,
    kHelp,
    kVersion,
    kPorts,
    kSend,
    kRead,
    kModem,
    kReport,
    kPlanCheck,
    kPlanImport,
    kPlanExport
};

// One command line, read but not yet checked against the roles and ranges.
struct CliRequest {
    CliCommand command = CliCommand::kNone;
    bool json = false;
    bool admin = false;
    std::optional<std::string> port;
    // --id, --chf, --oft, --p0, --prt, --typ as typed, in that order.
    std::vector<std::pair<std::string, std::string>> values;
    std::optional<std::string> param;
    std::optional<std::string> value;
    // The network an exchange is journalled into, or the report is made of.
    std::optional<std::string> network;
    std::optional<std::string> repeaters;
    std::vector<std::string> journals;  // --journal, in the order given
    std::optional<std::string> out;
    bool replace = false;                 // --replace: an existing report or export may be replaced
    std::optional<std::string> planFile;  // plan check, plan import, report --plan: the file read
    std::optional<std::string> technician;  // --technicien: who signs the report
};

// What a checked request sends.
struct CliPlan {
    int32_t portNumber = 0;
    ParameterSet config;
    int32_t modemParam = 0;  // 1..kModemParamCount as the modem commands number them
    int32_t modemValue = 0;
    std::string network;
    int32_t repeaterCount = -1;
};

// Reads the words after the program name; nothing, with a reason, when they make no request.
std::optional<CliRequest> ParseCliArguments(const std::vector<std::string>& args,
                                            std::string& error);

// Applies the roles and the single-device editor's ranges. Nothing, with a reason in
// French, when the request must be refused.
std::optional<CliPlan> CheckCliRequest(const CliRequest& request, std::string& error);

// "COM900" or "900"; nothing when it is neither.
std::optional<int32_t> ParsePortName(const std::string& text);

std::string CliUsage();
