#include "CNetworkMap.h"

#include <algorithm>
#include <utility>

#include "Frames.h"
#include "Parameters.h"

namespace {

constexpr char kVerifiedVerdict[] = "Configuration vérifiée";

const MapCell& EmptyCell() {
    static const MapCell cell;
    return cell;
}

// The command of a send: what it set out to write, or else the first line it wrote.
std::string SentCommand(const JournalEntry& entry) {
    if (!entry.command.empty()) {
        return entry.command;
    }
    return entry.bytesSent.substr(0, entry.bytesSent.find('\n'));
}

// The ID a configuration frame "u%03d..." programs; 0 when it names none.
int32_t FrameId(const std::string& frame) {
    if (frame.size() < 4 || frame[0] != 'u') {
        return 0;
    }
    int32_t id = 0;
    for (size_t i = 1; i <= 3; ++i) {
        if (frame[i] < '0' || frame[i] > '9') {
            return 0;
        }
        id = id * 10 + (frame[i] - '0');
    }
    return id;
}

// The modem page's number of the parameter a command "p 007" changes; 0 when it names none.
int32_t CommandParam(const std::string& command) {
    if (command.size() < 3 || command[1] != ' ') {
        return 0;
    }
    for (const ParameterInfo& info : kParameters) {
        if (info.modemLetter == command[0]) {
            return info.modemNumber;
        }
    }
    return 0;
}

// "CHF envoyé 012, lu 013; P0 envoyé 007, lu 008" back into its differences.
std::vector<FieldDifference> VerdictDifferences(const std::string& verdict) {
    std::vector<FieldDifference> differences;
    size_t at = 0;
    while (at < verdict.size()) {
        size_t end = verdict.find("; ", at);
        if (end == std::string::npos) {
            end = verdict.size();
        }
        const std::string part = verdict.substr(at, end - at);
        at = end + 2;
        const size_t sent = part.find(" envoyé ");
        const size_t read = part.find(", lu ", sent == std::string::npos ? 0 : sent);
        if (sent == std::string::npos || read == std::string::npos) {
            continue;
        }
        const size_t sentAt = sent + std::string_view(" envoyé ").size();
        differences.push_back({part.substr(0, sent), part.substr(sentAt, read - sentAt),
                               part.substr(read + std::string_view(", lu ").size())});
    }
    return differences;
}

// A report cut short (the device unplugged while it answered) is an exchange without a whole
// report, as the command line's end code says, whatever its verdict compared.
DeviceState StateOf(const JournalEntry& entry, const std::string& command) {
    if (entry.report && IsWholeReport(*entry.report)) {
        return entry.verdict == kVerifiedVerdict ? DeviceState::kVerified : DeviceState::kDiffers;
    }
    const bool written = !command.empty() && entry.bytesSent.starts_with(command);
    return written ? DeviceState::kNoReport : DeviceState::kPortFailure;
}

void Record(MapCell& cell, const JournalEntry& entry, std::string command) {
    ++cell.sends;
    if (cell.sends > 1 && command != cell.lastSent) {
        cell.sentDifferentValues = true;
    }
    cell.state = StateOf(entry, command);
    cell.everVerified = cell.everVerified || cell.state == DeviceState::kVerified;
    cell.differences = cell.state == DeviceState::kDiffers ? VerdictDifferences(entry.verdict)
                                                           : std::vector<FieldDifference>{};
    cell.lastSent = std::move(command);
    cell.last = entry;
}

}  // namespace

CNetworkMap::CNetworkMap(std::string network) : network(std::move(network)) {}

void CNetworkMap::Add(const JournalEntry& entry) {
    if (entry.network != network) {
        return;
    }
    ++entries;
    if (entry.repeaterCount >= 0) {
        repeaterCount = entry.repeaterCount;
    }
    std::string command = SentCommand(entry);
    if (entry.kind == ExchangeKind::SendConfig) {
        const int32_t id = FrameId(command);
        if (id >= kFirstDeviceId && id <= kLastDeviceId) {
            Record(devices[static_cast<size_t>(id)], entry, std::move(command));
        }
    } else if (entry.kind == ExchangeKind::SendModemParam) {
        const int32_t param = CommandParam(command);
        if (param >= 1 && param <= kModemParamCount) {
            Record(modem[static_cast<size_t>(param)], entry, std::move(command));
        }
    }
}

void CNetworkMap::Add(const std::vector<JournalEntry>& list) {
    for (const JournalEntry& entry : list) {
        Add(entry);
    }
}

const MapCell& CNetworkMap::Device(int32_t id) const {
    if (id < kFirstDeviceId || id > kLastDeviceId) {
        return EmptyCell();
    }
    return devices[static_cast<size_t>(id)];
}

const MapCell& CNetworkMap::ModemParam(int32_t param) const {
    if (param < 1 || param > kModemParamCount) {
        return EmptyCell();
    }
    return modem[static_cast<size_t>(param)];
}

CNetworkMap::Band CNetworkMap::Repeaters(int32_t n) const {
    return Count(kFirstDeviceId, std::clamp(n, 0, kLastDeviceId));
}

CNetworkMap::Band CNetworkMap::Sensors(int32_t n) const {
    return Count(std::clamp(n, 0, kLastDeviceId) + 1, kLastDeviceId);
}

CNetworkMap::Band CNetworkMap::Count(int32_t first, int32_t last) const {
    Band band;
    for (int32_t id = first; id <= last; ++id) {
        ++band.total;
        switch (devices[static_cast<size_t>(id)].state) {
            case DeviceState::kNotProgrammed:
                break;
            case DeviceState::kVerified:
                ++band.verified;
                break;
            case DeviceState::kDiffers:
                ++band.toRedo;
                break;
            case DeviceState::kNoReport:
                ++band.toRedo;
                ++band.silent;
                break;
            case DeviceState::kPortFailure:
                ++band.toRedo;
                ++band.failed;
                break;
        }
    }
    return band;
}
