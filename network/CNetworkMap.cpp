#include "CNetworkMap.h"

#include <algorithm>
#include <utility>

#include "Frames.h"
#include "Parameters.h"

namespace {

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

// A report cut short (the device unplugged while it answered) is an exchange without a whole
// report, as the command line's end code says, whatever its verdict compared.
DeviceState StateOf(const JournalEntry& entry, const std::string& command, const Verdict& verdict) {
    if (entry.report && IsWholeReport(*entry.report)) {
        return verdict.kind == VerdictKind::kVerified ? DeviceState::kVerified
                                                      : DeviceState::kDiffers;
    }
    const bool written = !command.empty() && entry.bytesSent.starts_with(command);
    return written ? DeviceState::kNoReport : DeviceState::kPortFailure;
}

void RecordMachine(MapCell& cell, const JournalEntry& entry, const std::string& command) {
    if (entry.machine.empty()) {
        return;  // a journal from before machines were named
    }
    auto send = std::find_if(cell.machineSends.begin(), cell.machineSends.end(),
                             [&entry](const MachineSend& s) { return s.machine == entry.machine; });
    if (send == cell.machineSends.end()) {
        cell.machineSends.push_back({entry.machine, {}, {}, 0});
        send = cell.machineSends.end() - 1;
    }
    send->command = command;
    send->timestamp = entry.timestamp;
    send->epochMs = entry.epochMs;
    cell.machinesDiffer =
        std::any_of(cell.machineSends.begin(), cell.machineSends.end(),
                    [&command](const MachineSend& s) { return s.command != command; });
}

// `verdict` judges again what the entry sent against what it read, as the exchange did.
void Record(MapCell& cell, const JournalEntry& entry, std::string command, Verdict verdict) {
    ++cell.sends;
    if (cell.sends > 1 && command != cell.lastSent) {
        cell.sentDifferentValues = true;
    }
    cell.state = StateOf(entry, command, verdict);
    cell.everVerified = cell.everVerified || cell.state == DeviceState::kVerified;
    cell.verdict = cell.state == DeviceState::kDiffers ? std::move(verdict) : Verdict{};
    RecordMachine(cell, entry, command);
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
        const std::optional<ParameterSet> sent = ParameterSetOfFrame(command);
        if (sent && sent->ID >= kFirstDeviceId && sent->ID <= kLastDeviceId) {
            Verdict verdict = entry.report ? JudgeConfig(*sent, *entry.report) : Verdict{};
            Record(devices[static_cast<size_t>(sent->ID)], entry, std::move(command),
                   std::move(verdict));
        }
    } else if (entry.kind == ExchangeKind::SendModemParam) {
        const std::optional<ModemSetting> set = SettingOfModemCommand(command);
        if (set && set->info->modemNumber >= 1 && set->info->modemNumber <= kModemParamCount) {
            Verdict verdict =
                entry.report ? JudgeModemValue(*set->info, set->value, *entry.report) : Verdict{};
            Record(modem[static_cast<size_t>(set->info->modemNumber)], entry, std::move(command),
                   std::move(verdict));
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

std::vector<int32_t> CNetworkMap::ProgrammedOnSeveralMachines() const {
    std::vector<int32_t> ids;
    for (int32_t id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        if (devices[static_cast<size_t>(id)].machinesDiffer) {
            ids.push_back(id);
        }
    }
    return ids;
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
