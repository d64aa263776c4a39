#include "CCliRunner.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "CCliHost.h"
#include "CCliPlan.h"
#include "CCliReport.h"
#include "CExchange.h"
#include "CJournal.h"
#include "CPortDirectory.h"
#include "CSerialPort.h"
#include "CliOptions.h"
#include "Frames.h"
#include "JournalFormat.h"
#include "JsonText.h"
#include "PortName.h"
#include "Roles.h"
#include "Verdict.h"
#include "version.h"

namespace {

using CliOptions::kProgram;

const char* CommandName(CliCommand command) {
    switch (command) {
        case CliCommand::kSend:
            return "send";
        case CliCommand::kRead:
            return "read";
        case CliCommand::kModem:
            return "modem";
        default:
            return "ports";
    }
}

// One line of device text that cannot drive the terminal: control characters, C1 ones too
// (U+0080 to U+009F, which some terminals obey), are written as the journal writes them.
std::string TerminalSafe(std::string_view line) {
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const auto next = static_cast<unsigned char>(i + 1 < line.size() ? line[i + 1] : 0);
        if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::array<char, 8> hex{};
            std::snprintf(hex.data(), hex.size(), "\\x%02X", next);
            text += hex.data();
            ++i;
        } else {
            text += JournalFormat::EscapeText(line.substr(i, 1));
        }
    }
    return text;
}

// The status box's text as terminal lines: CR LF become LF, the opening line break goes.
std::string AsLines(const std::string& status) {
    std::string text;
    size_t start = 0;
    while (start < status.size()) {
        size_t end = status.find('\n', start);
        end = end == std::string::npos ? status.size() : end;
        const size_t cut = end > start && status[end - 1] == '\r' ? end - 1 : end;
        text += TerminalSafe(std::string_view(status).substr(start, cut - start)) + '\n';
        start = end + 1;
    }
    while (!text.empty() && (text.front() == '\n' || text.front() == ' ')) {
        text.erase(0, 1);
    }
    return text;
}

bool ExpectedWrite(const ExchangeRecord& record) {
    switch (record.kind) {
        case ExchangeKind::SendConfig:
            return record.sentConfig.has_value();
        case ExchangeKind::SendModemParam:
            return record.modemParam != 0;
        default:
            return !record.bytesSent.empty();
    }
}

int Outcome(const ExchangeRecord& record, const Verdict& verdict) {
    if (record.devicePath.empty() || !ExpectedWrite(record)) {
        return kExitPortFailure;
    }
    if (!record.report || !IsWholeReport(*record.report)) {
        return kExitNoReport;
    }
    return verdict.kind == VerdictKind::kDiffers ? kExitVerdictDiffers : kExitConfirmed;
}

// A confirmation the journal does not hold is told apart, so that a script can write it down.
int JournaledOutcome(int code, const CCliHost& host) {
    return code == kExitConfirmed && !host.JournalFailure().empty() ? kExitNotJournaled : code;
}

std::string JsonOrNullIfEmpty(const std::string& text) {
    return text.empty() ? "null" : JsonString(text);
}

// The folder an exchange journals into: --journal's, a synced one for instance, else the user's.
const std::string& WriteFolder(const CliRequest& request, const std::string& usual) {
    return request.journals.empty() ? usual : request.journals.front();
}

std::string JsonJournal(const CCliHost& host, const std::string& folder) {
    return "{\"written\":" + std::string(host.JournalFailure().empty() ? "true" : "false") +
           ",\"folder\":" + JsonOrNullIfEmpty(folder) +
           ",\"reason\":" + JsonOrNullIfEmpty(host.JournalReason()) + "}";
}

std::string JsonOrNull(const std::optional<std::string>& text) {
    return text ? JsonString(*text) : "null";
}

// {"ID":"005",...} in the report's order.
std::string JsonValues(const ReportValues& values) {
    std::string json;
    for (const ParameterInfo& info : kParameters) {
        json += (json.empty() ? "{" : ",") + JsonString(info.name) + ":" +
                JsonString(DeviceToUtf8(values[info.param]));
    }
    return json + "}";
}

}  // namespace

CCliRunner::CCliRunner(CliEnvironment& environment) : env(environment) {}

int CCliRunner::Run(const std::vector<std::string>& args) {
    std::string error;
    const auto request = ParseCliArguments(args, error);
    if (!request) {
        env.err << kProgram << " : " << error << "\n" << kProgram << " --help pour l'aide.\n";
        return kExitBadArguments;
    }
    if (request->command == CliCommand::kHelp) {
        env.out << CliUsage();
        return kExitConfirmed;
    }
    if (request->command == CliCommand::kVersion) {
        env.out << kProgram << " " << zav::version::kProductVersion << "\n";
        return kExitConfirmed;
    }
    const auto plan = CheckCliRequest(*request, error);
    if (!plan) {
        return Refuse(kExitBadArguments, error, request->json);
    }
    if (request->command == CliCommand::kReport) {
        return CCliReport(env.out, env.err, env.journalFolder).Run(*request);
    }
    if (CliOptions::IsPlanCommand(request->command)) {
        return RunPlan(*request);
    }
    if (request->command == CliCommand::kPorts) {
        return ListPorts(request->json);
    }
    if (request->admin && !Authenticate(error)) {
        return Refuse(kExitBadArguments, error, request->json);
    }
    return RunExchange(*request, *plan);
}

// Importing sets every value a client may not change: it takes the administrator's role.
int CCliRunner::RunPlan(const CliRequest& request) {
    std::string error;
    if (request.command == CliCommand::kPlanImport && !request.admin) {
        return Refuse(kExitBadArguments,
                      "plan import demande le rôle Administateur : ajoutez --admin.", false);
    }
    if (request.admin && !Authenticate(error)) {
        return Refuse(kExitBadArguments, error, false);
    }
    return CCliPlan(env.out, env.err, env.journalFolder).Run(request);
}

int CCliRunner::Refuse(int code, const std::string& error, bool json) {
    if (json) {
        env.out << "{\"error\":" << JsonString(error) << ",\"exit\":" << code << "}\n";
    }
    env.err << kProgram << " : " << error << "\n";
    return code;
}

bool CCliRunner::Authenticate(std::string& error) {
    std::optional<std::string> password = env.passwordVariable;
    if (!password && env.askPassword) {
        password = env.askPassword();
    }
    if (!password) {
        error = "--admin : pas de terminal pour le mot de passe ; donnez ZAV7305_PASSWORD.";
        return false;
    }
    if (*password != Roles::kAdministratorPassword) {
        error = Roles::kPasswordRefused;
        return false;
    }
    return true;
}

int CCliRunner::ListPorts(bool json) {
    const std::vector<PortEntry> entries = env.ports.List();
    if (!json) {
        for (const PortEntry& entry : entries) {
            env.out << entry.name << "\n";
        }
        return kExitConfirmed;
    }
    env.out << "{\"ports\":[";
    for (size_t i = 0; i < entries.size(); ++i) {
        env.out << (i > 0 ? "," : "") << "{\"name\":" << JsonString(entries[i].name)
                << ",\"number\":" << entries[i].number
                << ",\"path\":" << JsonString(entries[i].path) << "}";
    }
    env.out << "]}\n";
    return kExitConfirmed;
}

int CCliRunner::RunExchange(const CliRequest& request, const CliPlan& plan) {
    const std::string portName = PortName::Of(plan.portNumber);
    if (!env.ports.PathFor(plan.portNumber)) {
        return Refuse(kExitPortFailure, "le port " + portName + " n'existe pas.", request.json);
    }
    CSerialPort port;
    port.SetPortDirectory(&env.ports);
    CJournal journal(WriteFolder(request, env.journalFolder));
    CCliHost host(journal, request.admin ? Roles::kAdministrator : Roles::kClient, portName);
    host.SetNetwork(plan.network, plan.repeaterCount);
    CExchange exchange(port, host, env.clock, env.timing);
    switch (request.command) {
        case CliCommand::kSend:
            exchange.SendConfig(plan.config, plan.portNumber, kCustomVariant);
            break;
        case CliCommand::kRead:
            exchange.ReadConfig(plan.portNumber);
            break;
        default:
            exchange.SendModemParam(plan.modemParam, plan.modemValue, plan.portNumber);
            break;
    }
    const ExchangeRecord record = host.Record().value_or(ExchangeRecord{});
    const Verdict verdict = JudgeReadBack(record);
    const int code = JournaledOutcome(Outcome(record, verdict), host);
    if (!host.JournalFailure().empty()) {
        env.err << kProgram << " : attention : " << host.JournalFailure() << "\n";
    }
    if (request.json) {
        PrintJson(request, portName, record, host, code);
    } else {
        PrintText(host, VerdictText(verdict));
    }
    return code;
}

void CCliRunner::PrintText(const CCliHost& host, const std::string& verdict) {
    for (const std::string& message : host.Messages()) {
        env.err << kProgram << " : " << message << "\n";
    }
    PrintPortFailure(host);
    env.out << AsLines(host.StatusText());
    if (!verdict.empty()) {
        // The verdict quotes what the device sent: it is made as safe as the status lines.
        env.out << "Verdict : " << TerminalSafe(verdict) << "\n";
    }
}

// The French cause and the system's own text, as the tool shows them under the message.
void CCliRunner::PrintPortFailure(const CCliHost& host) {
    if (!host.Cause().empty()) {
        env.err << kProgram << " : " << host.Cause() << "\n";
    }
    if (!host.SystemError().empty()) {
        env.err << kProgram << " : erreur système : " << host.SystemError() << "\n";
    }
}

void CCliRunner::PrintJson(const CliRequest& request, const std::string& portName,
                           const ExchangeRecord& record, const CCliHost& host, int code) {
    const std::string& status = host.StatusText();
    const std::vector<std::string>& messages = host.Messages();
    const Verdict verdict = JudgeReadBack(record);
    std::string out =
        "{\"command\":" + JsonString(CommandName(request.command)) +
        ",\"role\":" + JsonString(request.admin ? Roles::kAdministrator : Roles::kClient) +
        ",\"port\":" + JsonString(portName) + ",\"device\":" + JsonString(record.devicePath) +
        ",\"sent\":" + JsonString(DeviceToUtf8(record.bytesSent)) + ",\"report\":" +
        JsonOrNull(record.report ? std::optional(DeviceToUtf8(*record.report)) : std::nullopt) +
        ",\"status\":" + JsonString(status);
    if (record.report) {
        out += ",\"values\":" + JsonValues(CutReportValues(*record.report));
    } else {
        out += ",\"values\":null";
    }
    out += ",\"cause\":" + JsonOrNullIfEmpty(host.Cause()) +
           ",\"systemError\":" + JsonOrNullIfEmpty(host.SystemError()) +
           ",\"journal\":" + JsonJournal(host, WriteFolder(request, env.journalFolder));
    out +=
        ",\"verdict\":" + (verdict.kind == VerdictKind::kNone ? std::string("null")
                                                              : JsonString(VerdictText(verdict)));
    out += ",\"messages\":[";
    for (size_t i = 0; i < messages.size(); ++i) {
        out += (i > 0 ? "," : "") + JsonString(messages[i]);
    }
    out += "],\"exit\":" + std::to_string(code) + "}\n";
    env.out << out;
}
