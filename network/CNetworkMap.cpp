#include "CNetworkMap.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "CLargeBuffer.h"
#include "Frames.h"
#include "NetworkTexts.h"
#include "Parameters.h"

namespace {

const MapCell& EmptyCell() {
    static const MapCell cell;
    return cell;
}

// The command of a send: what it set out to write, or else the first line it wrote. A view into
// the entry: a year of sends is read without a copy of each.
std::string_view SentCommand(const JournalEntry& entry) {
    if (!entry.command.empty()) {
        return entry.command;
    }
    return std::string_view(entry.bytesSent).substr(0, entry.bytesSent.find('\n'));
}

// A report cut short (the device unplugged while it answered) is an exchange without a whole
// report, as the command line's end code says, whatever its verdict compared.
DeviceState StateOf(const JournalEntry& entry, std::string_view command, const Verdict& verdict) {
    if (entry.report && IsWholeReport(*entry.report)) {
        return verdict.kind == VerdictKind::kVerified ? DeviceState::kVerified
                                                      : DeviceState::kDiffers;
    }
    const bool written = !command.empty() && entry.bytesSent.starts_with(command);
    if (!written) {
        return DeviceState::kPortFailure;
    }
    return entry.cancelled ? DeviceState::kCancelled : DeviceState::kNoReport;
}

// The page captions carry blanks around the word; the journal keeps them trimmed.
DeviceBand BandOfEditor(const std::string& editor) {
    if (editor == NetworkTexts::kRepeaterEditor) {
        return DeviceBand::kRepeater;
    }
    return editor == NetworkTexts::kSensorEditor ? DeviceBand::kSensor : DeviceBand::kUnknown;
}

void RecordMachine(MapCell& cell, const JournalEntry& entry, std::string_view command) {
    if (entry.machine.empty()) {
        return;  // a journal from before machines were named
    }
    auto send = std::find_if(cell.machineSends.begin(), cell.machineSends.end(),
                             [&entry](const MachineSend& s) { return s.machine == entry.machine; });
    if (send == cell.machineSends.end()) {
        cell.machineSends.push_back({entry.machine, {}, {}, 0});
        send = cell.machineSends.end() - 1;
    }
    send->command.assign(command);
    send->timestamp = entry.timestamp;
    send->epochMs = entry.epochMs;
    cell.machinesDiffer =
        std::any_of(cell.machineSends.begin(), cell.machineSends.end(),
                    [&command](const MachineSend& s) { return s.command != command; });
}

// `verdict` judges again what the entry sent against what it read, as the exchange did.
void Record(MapCell& cell, const JournalEntry& entry, std::string_view command, Verdict verdict) {
    ++cell.sends;
    if (cell.sends > 1 && command != cell.lastSent) {
        cell.sentDifferentValues = true;
    }
    cell.state = StateOf(entry, command, verdict);
    cell.everVerified = cell.everVerified || cell.state == DeviceState::kVerified;
    cell.verdict = cell.state == DeviceState::kDiffers ? std::move(verdict) : Verdict{};
    RecordMachine(cell, entry, command);
    cell.lastSent.assign(command);
    cell.last = entry;
    if (const DeviceBand band = BandOfEditor(entry.editor); band != DeviceBand::kUnknown) {
        cell.band = band;
    }
}

// A year of a shared folder holds tens of thousands of incidents: each larger list is asked for
// in large pages, which it is then moved into, instead of a fault for each small page of it.
void MakeRoomForOne(std::vector<MapIncident>& incidents) {
    if (incidents.size() < incidents.capacity()) {
        return;
    }
    std::vector<MapIncident> larger;
    larger.reserve(std::max<size_t>(16, incidents.capacity() * 2));
    CLargeBuffer::PreferHugePages(larger.data(), larger.capacity() * sizeof(MapIncident));
    std::move(incidents.begin(), incidents.end(), std::back_inserter(larger));
    incidents.swap(larger);
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
    const std::string_view command = SentCommand(entry);
    if (entry.kind == ExchangeKind::SendConfig) {
        const std::optional<ParameterSet> sent = ParameterSetOfFrame(command);
        if (sent && sent->ID >= kFirstDeviceId && sent->ID <= kLastDeviceId) {
            Verdict verdict = entry.report ? JudgeConfig(*sent, *entry.report) : Verdict{};
            MapCell& cell = devices[static_cast<size_t>(sent->ID)];
            Record(cell, entry, command, std::move(verdict));
            NoteIncident(cell, false, sent->ID);
        }
    } else if (entry.kind == ExchangeKind::SendModemParam) {
        const std::optional<ModemSetting> set = SettingOfModemCommand(command);
        if (set && set->info->modemNumber >= 1 && set->info->modemNumber <= kModemParamCount) {
            Verdict verdict =
                entry.report ? JudgeModemValue(*set->info, set->value, *entry.report) : Verdict{};
            MapCell& cell = modem[static_cast<size_t>(set->info->modemNumber)];
            Record(cell, entry, command, std::move(verdict));
            NoteIncident(cell, true, set->info->modemNumber);
        }
    }
}

// A verified send redoes every incident of its cell still open; any other send is one more.
void CNetworkMap::NoteIncident(MapCell& cell, bool isModem, int32_t key) {
    const JournalEntry& last = *cell.last;
    if (cell.state == DeviceState::kVerified) {
        for (const size_t at : cell.openIncidents) {
            incidents[at].redoneMs = last.epochMs;
            incidents[at].redoneTimestamp = last.timestamp;
        }
        cell.openIncidents.clear();
        return;
    }
    ++cell.incidents;
    cell.openIncidents.push_back(incidents.size());
    MakeRoomForOne(incidents);
    incidents.push_back(
        {isModem, key, cell.state, cell.verdict, last.epochMs, last.timestamp, std::nullopt, {}});
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

bool CNetworkMap::IsRepeater(int32_t id, int32_t n) const {
    switch (Device(id).band) {
        case DeviceBand::kRepeater:
            return true;
        case DeviceBand::kSensor:
            return false;
        case DeviceBand::kUnknown:
            break;
    }
    return id <= std::clamp(n, 0, kLastDeviceId);
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
    return Count(n, true);
}

CNetworkMap::Band CNetworkMap::Sensors(int32_t n) const {
    return Count(n, false);
}

CNetworkMap::Band CNetworkMap::Count(int32_t n, bool repeaters) const {
    Band band;
    for (int32_t id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        if (IsRepeater(id, n) != repeaters) {
            continue;
        }
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
            case DeviceState::kCancelled:
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
