#include "SimOptions.h"

#include <getopt.h>

#include <charconv>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "CPortDirectory.h"

namespace {

// Options without a value set one flag, of the simulator or of its faults.
struct Flag {
    const char* name;
    bool SimOptions::*own;
    bool FaultOptions::*fault;
};
constexpr Flag kFlags[] = {
    {"spaced", &SimOptions::spaced, nullptr},
    {"stream", &SimOptions::stream, nullptr},
    {"help", &SimOptions::help, nullptr},
    {"version", &SimOptions::version, nullptr},
    {"silent", nullptr, &FaultOptions::silent},
    {"echo", nullptr, &FaultOptions::echo},
    {"noise", nullptr, &FaultOptions::noise},
    {"lowercase", nullptr, &FaultOptions::lowercase},
    {"no-lf", nullptr, &FaultOptions::noLf},
    {"crlf", nullptr, &FaultOptions::crlf},
    {"long", nullptr, &FaultOptions::longLine},
    {"zero-bytes", nullptr, &FaultOptions::zeroBytes},
    {"terminal-codes", nullptr, &FaultOptions::terminalCodes},
    {"answer-frame", nullptr, &FaultOptions::answerFrame},
    {"hangup-mid", nullptr, &FaultOptions::hangupMid},
};
enum ValueId : int { kDevice = 256, kPort, kRuntime, kLog, kDelay, kDrip, kReportChange };
constexpr const char* kValueNames[] = {"device", "port", "runtime",      "log",
                                       "delay",  "drip", "report-change"};
constexpr int kFirstFlag = 512;

std::vector<option> LongOptions() {
    std::vector<option> options;
    for (int i = 0; i < static_cast<int>(std::size(kValueNames)); ++i) {
        options.push_back({kValueNames[i], required_argument, nullptr, kDevice + i});
    }
    for (int i = 0; i < static_cast<int>(std::size(kFlags)); ++i) {
        options.push_back({kFlags[i].name, no_argument, nullptr, kFirstFlag + i});
    }
    options.push_back({nullptr, 0, nullptr, 0});
    return options;
}

bool* FlagFor(SimOptions& options, int id) {
    if (id < kFirstFlag || id >= kFirstFlag + static_cast<int>(std::size(kFlags))) {
        return nullptr;
    }
    const Flag& flag = kFlags[id - kFirstFlag];
    return flag.own != nullptr ? &(options.*flag.own) : &(options.faults.*flag.fault);
}

std::optional<int64_t> ParseNumber(const char* text, int64_t low, int64_t high) {
    int64_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [rest, ec] = std::from_chars(text, end, value);
    if (ec != std::errc() || rest != end || rest == text || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<DeviceKind> ParseDevice(const std::string& name) {
    if (name == "repeater") {
        return DeviceKind::kRepeater;
    }
    if (name == "sensor") {
        return DeviceKind::kSensor;
    }
    if (name == "modem") {
        return DeviceKind::kModem;
    }
    if (name == "any") {
        return DeviceKind::kAny;
    }
    return std::nullopt;
}

std::optional<ReportedField> ParseField(const std::string& name) {
    static const std::pair<const char*, ReportedField> kFields[] = {
        {"id", ReportedField::kId}, {"chf", ReportedField::kChf}, {"oft", ReportedField::kOft},
        {"p0", ReportedField::kP0}, {"prt", ReportedField::kPrt}, {"typ", ReportedField::kTyp},
    };
    for (const auto& [text, field] : kFields) {
        if (name == text) {
            return field;
        }
    }
    return std::nullopt;
}

// One option with its argument; false with a reason when the argument is unusable.
bool ApplyValue(SimOptions& options, int id, const char* argument, std::string& error) {
    constexpr int64_t kMaxPauseMs = 600000;
    if (id == kReportChange) {
        const auto field = ParseField(argument);
        if (!field) {
            error = std::string("unknown field '") + argument + "'";
            return false;
        }
        options.faults.changed = *field;
        return true;
    }
    if (id == kDevice) {
        const auto device = ParseDevice(argument);
        if (!device) {
            error = std::string("unknown device '") + argument + "'";
            return false;
        }
        options.device = *device;
        return true;
    }
    if (id == kRuntime || id == kLog) {
        if (*argument == '\0') {
            error = "empty path";
            return false;
        }
        (id == kRuntime ? options.runtimeDir : options.logPath) = argument;
        return true;
    }
    if (id == kPort) {
        const auto n =
            ParseNumber(argument, CPortDirectory::kFirstVirtual, CPortDirectory::kLastVirtual);
        if (!n) {
            error = std::string("port must be a number from ") +
                    std::to_string(CPortDirectory::kFirstVirtual) + " to " +
                    std::to_string(CPortDirectory::kLastVirtual);
            return false;
        }
        options.port = static_cast<int32_t>(*n);
        return true;
    }
    const auto ms = ParseNumber(argument, 0, kMaxPauseMs);
    if (!ms) {
        error = std::string("bad number of milliseconds '") + argument + "'";
        return false;
    }
    (id == kDelay ? options.faults.delayMs : options.faults.dripMs) = static_cast<uint32_t>(*ms);
    return true;
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(int argc, char** argv, std::string& error) {
    SimOptions options;
    const std::vector<option> longOptions = LongOptions();
    optind = 1;
    opterr = 0;
    for (;;) {
        const int id = getopt_long(argc, argv, "", longOptions.data(), nullptr);
        if (id == -1) {
            break;
        }
        if (id == '?' || id == ':') {
            error = "unknown option or missing value";
            if (optind > 0 && optind <= argc) {
                error += std::string(" near '") + argv[optind - 1] + "'";
            }
            return std::nullopt;
        }
        if (bool* flag = FlagFor(options, id)) {
            *flag = true;
        } else if (!ApplyValue(options, id, optarg, error)) {
            return std::nullopt;
        }
    }
    if (optind < argc) {
        error = std::string("unexpected argument '") + argv[optind] + "'";
        return std::nullopt;
    }
    return options;
}

std::string SimUsage(const char* programName) {
    return std::string("Usage: ") + programName +
           " [options]\n"
           "Simulates one radio device on a virtual serial port.\n"
           "\n"
           "  --device repeater|sensor|modem|any  device to simulate (default repeater)\n"
           "  --port N        announce as COM<N>, N in 900..999 (default: first free)\n"
           "  --runtime DIR   folder for the COM<N> link (default: the port list's folder)\n"
           "  --log FILE      append every received line, byte for byte\n"
           "  --spaced        report in the spaced form\n"
           "  --stream        plug in a fresh device after each write and read-back\n"
           "  --help          show this text\n"
           "  --version       show the version\n"
           "\n"
           "Faults:\n"
           "  --silent        never answer\n"
           "  --delay MS      wait before each reply\n"
           "  --drip MS       send one byte at a time, MS apart\n"
           "  --echo          echo each received line before answering\n"
           "  --noise         send a noise line before each report\n"
           "  --lowercase     report prefix in lower case\n"
           "  --no-lf         no line end after the report\n"
           "  --crlf          end lines with CR LF\n"
           "  --long          over-long report line (more than 128 bytes)\n"
           "  --zero-bytes    zero bytes inside the report\n"
           "  --terminal-codes  terminal control sequences (retitle, clear) in the report\n"
           "  --answer-frame  answer a configuration frame with a report\n"
           "  --hangup-mid    hang up in the middle of a reply, then exit\n"
           "  --report-change id|chf|oft|p0|prt|typ\n"
           "                  report that value one higher (TYP: the next character) than kept\n";
}
