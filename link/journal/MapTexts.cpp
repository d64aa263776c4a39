#include "MapTexts.h"

#include "Parameters.h"

namespace {

std::string DifferenceWords(const std::vector<FieldDifference>& differences) {
    std::string words;
    for (const FieldDifference& difference : differences) {
        if (!words.empty()) {
            words += "; ";
        }
        words += difference.field + " envoyé " + difference.sent + ", lu " + difference.read;
    }
    return words.empty() ? "valeurs lues différentes" : words;
}

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
    switch (cell.state) {
        case DeviceState::kNotProgrammed:
            return "non programmée";
        case DeviceState::kVerified:
            return "vérifiée";
        case DeviceState::kDiffers:
            return DifferenceWords(cell.differences);
        case DeviceState::kNoReport:
            return "envoyée, sans réponse";
        case DeviceState::kPortFailure:
            return "échec du port";
    }
    return {};
}

std::string StateMark(DeviceState state) {
    switch (state) {
        case DeviceState::kNotProgrammed:
            return "·";
        case DeviceState::kVerified:
            return "✓";
        case DeviceState::kDiffers:
            return "≠";
        case DeviceState::kNoReport:
            return "?";
        case DeviceState::kPortFailure:
            return "✗";
    }
    return {};
}

std::string CellAccessibleName(int32_t id, const MapCell& cell) {
    return "ID " + std::to_string(id) + " : " + StateWords(cell);
}

std::string ModemCellAccessibleName(int32_t param, const MapCell& cell) {
    const ParameterInfo* info = ParameterOfModemNumber(param);
    const std::string name = info == nullptr ? std::to_string(param) : info->name;
    return "Modem " + name + " : " + StateWords(cell);
}

std::string BandSummary(const CNetworkMap& map, int32_t n) {
    return BandWords("Répéteurs", map.Repeaters(n)) + " · " + BandWords("Capteurs", map.Sensors(n));
}
