#include "MapTexts.h"

#include "NetworkTexts.h"
#include "Parameters.h"

namespace {

std::string BandWords(const char* name, const CNetworkMap::Band& band) {
    std::string words = std::string(name) + " " + std::to_string(band.verified) + "/" +
                        std::to_string(band.total) + " vérifiés";
    if (band.toRedo > 0) {
        words += ", " + std::to_string(band.toRedo) + " à reprendre";
    }
    return words;
}

}  // namespace

std::string StateWords(const MapCell& cell) {
    if (cell.state == DeviceState::kDiffers && !cell.verdict.differences.empty()) {
        return VerdictText(cell.verdict);
    }
    return StateInfo(cell.state).words;
}

std::string StateMark(DeviceState state) {
    return StateInfo(state).mark;
}

std::array<std::string, kDeviceStateCount> LegendItems() {
    std::array<std::string, kDeviceStateCount> items;
    const std::array<DeviceState, kDeviceStateCount> states = LegendStates();
    for (size_t i = 0; i < states.size(); ++i) {
        items[i] = StateMark(states[i]) + " " + StateInfo(states[i]).words;
    }
    return items;
}

std::string ModemName(int32_t param) {
    const ParameterInfo* info = ParameterOfModemNumber(param);
    return std::string(NetworkTexts::kModem) + " " +
           (info == nullptr ? std::to_string(param) : std::string(info->name));
}

std::string MachinesWords(const MapCell& cell) {
    if (!cell.machinesDiffer) {
        return {};
    }
    return NetworkTexts::kProgrammedOnPrefix + std::to_string(cell.machineSends.size()) +
           NetworkTexts::kProgrammedOnSuffix;
}

std::string CellAccessibleName(int32_t id, const MapCell& cell) {
    const std::string machines = MachinesWords(cell);
    return "ID " + std::to_string(id) + " : " + StateWords(cell) +
           (machines.empty() ? std::string() : " · " + machines);
}

std::string ModemCellAccessibleName(int32_t param, const MapCell& cell) {
    return ModemName(param) + " : " + StateWords(cell);
}

std::string BandSummary(const CNetworkMap& map, int32_t n) {
    return BandWords("Répéteurs", map.Repeaters(n)) + " · " + BandWords("Capteurs", map.Sensors(n));
}
