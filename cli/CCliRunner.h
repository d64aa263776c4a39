#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CliRequest.h"
#include "ExchangeTiming.h"

class CCliHost;
class CPortDirectory;
class IClock;
struct ExchangeRecord;

// What the command line takes from the world, so that tests can hand it their own.
struct CliEnvironment {
    IClock& clock;
    const CPortDirectory& ports;
    std::string journalFolder;
    std::optional<std::string> passwordVariable;  // ZAV7305_PASSWORD when set
    // Asks on the terminal without echo; nothing when there is no terminal.
    std::function<std::optional<std::string>()> askPassword;
    std::ostream& out;
    std::ostream& err;
    // How long an exchange waits; the device's own times unless a test gives shorter ones.
    ExchangeTiming timing = {};
};

// Runs one command line (the words after the program name) and returns its exit code.
class CCliRunner {
public:
    explicit CCliRunner(CliEnvironment& environment);

    int Run(const std::vector<std::string>& args);

private:
    int ListPorts(bool json);
    int RunPlan(const CliRequest& request);
    int RunExchange(const CliRequest& request, const CliPlan& plan);
    bool Authenticate(std::string& error);
    int Refuse(int code, const std::string& error, bool json);
    void PrintText(const CCliHost& host, const std::string& verdict);
    void PrintPortFailure(const CCliHost& host);
    void PrintJson(const CliRequest& request, const std::string& portName,
                   const ExchangeRecord& record, const CCliHost& host, int code);

    CliEnvironment& env;
};
