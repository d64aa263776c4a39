#include "CCliRunner.h"

#include "CCliHost.h"
#include "CExchange.h"
#include "CJournal.h"
#include "CPortDirectory.h"
#include "CSerialPort.h"
#include "Frames.h"
#include "JsonText.h"
#include "PortName.h"
#include "Roles.h"
#include "Verdict.h"
#include "version.h"

namespace {

constexpr char kProgram[] = "zav7305-cli";

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

// The status box's text as terminal lines: CR LF become LF, the opening line break goes.
std::string AsLines(const std::string& status) {
    std::string text;
    for (const char c : status) {
        if (c != '\r') {
            text += c;
        }
    }
    while (!text.empty() && (text.front() == '\n' || text.front() == ' ')) {
        text.erase(0, 1);
    }
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
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
    if (request->command == CliCommand::kPorts) {
        return ListPorts(request->json);
    }
    if (request->admin && !Authenticate(error)) {
        return Refuse(kExitBadArguments, error, request->json);
    }
    return RunExchange(*request, *plan);
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
    CJournal journal(env.journalFolder);
    CCliHost host(journal, request.admin ? Roles::kAdministrator : Roles::kClient, portName);
    CExchange exchange(port, host, env.clock);
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
    const int code = Outcome(record, verdict);
    if (!host.JournalFailure().empty()) {
        env.err << kProgram << " : attention : " << host.JournalFailure() << "\n";
    }
    if (request.json) {
        PrintJson(request, portName, record, host.StatusText(), host.Messages(), code);
    } else {
        PrintText(host.StatusText(), host.Messages(), VerdictText(verdict));
    }
    return code;
}

void CCliRunner::PrintText(const std::string& status, const std::vector<std::string>& messages,
                           const std::string& verdict) {
    for (const std::string& message : messages) {
        env.err << kProgram << " : " << message << "\n";
    }
    env.out << AsLines(status);
    if (!verdict.empty()) {
        env.out << "Verdict : " << verdict << "\n";
    }
}

void CCliRunner::PrintJson(const CliRequest& request, const std::string& portName,
                           const ExchangeRecord& record, const std::string& status,
                           const std::vector<std::string>& messages, int code) {
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
