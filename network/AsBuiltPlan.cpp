#include "AsBuiltPlan.h"

#include <algorithm>

#include "Frames.h"
#include "PlanStates.h"
#include "PlanValues.h"

namespace {

std::string_view Trimmed(std::string_view piece) {
    const size_t first = piece.find_first_not_of(' ');
    const size_t last = piece.find_last_not_of(' ');
    return first == std::string_view::npos ? std::string_view()
                                           : piece.substr(first, last - first + 1);
}

// The five values of a device's read-back, within the pages' ranges.
bool ReadBackValues(const std::string& report, ParameterSet& values) {
    const ReportValues pieces = CutReportValues(report);
    for (size_t k = 1; k < kParamCount; ++k) {
        const ParameterInfo& info = kParameters[k];
        const std::string_view piece = Trimmed(pieces[info.param]);
        const std::string reason =
            info.member == nullptr
                ? PlanValues::Typ(DeviceToUtf8(piece.substr(0, 1)), values.TYP)
                : PlanValues::Ranged(info.name, piece, info.page, values.*info.member);
        if (!reason.empty()) {
            return false;
        }
    }
    return true;
}

// The modem's latest whole report among its parameters' cells.
const MapCell* LatestModemCell(const CNetworkMap& map) {
    const MapCell* latest = nullptr;
    for (int32_t number = 1; number <= kModemParamCount; ++number) {
        const MapCell& cell = map.ModemParam(number);
        if (cell.last && (latest == nullptr || cell.last->epochMs >= latest->last->epochMs)) {
            latest = &cell;
        }
    }
    return latest;
}

bool ModemValues(const std::string& report, PlannedModem& modem) {
    const ReportValues pieces = CutReportValues(report);
    for (const ParameterInfo& info : kParameters) {
        const std::string_view piece = Trimmed(pieces[info.param]);
        int32_t& value = modem.values[static_cast<size_t>(info.param)];
        const std::string reason = info.modem
                                       ? PlanValues::Ranged(info.name, piece, *info.modem, value)
                                       : PlanValues::ModemType(piece, value);
        if (!reason.empty()) {
            return false;
        }
    }
    return true;
}

void AddModem(const CNetworkMap& map, const SitePlan* stored, AsBuilt& built) {
    const MapCell* cell = LatestModemCell(map);
    if (cell == nullptr) {
        return;
    }
    PlannedModem modem;
    if (stored != nullptr && stored->Modem()) {
        modem.label = stored->Modem()->label;
        modem.location = stored->Modem()->location;
    }
    const std::string* report = WholeReport(*cell);
    if (report == nullptr || !ModemValues(*report, modem)) {
        built.modemLeftOut = true;
        return;
    }
    built.plan.SetModem(std::move(modem));
}

}  // namespace

AsBuilt AsBuiltPlan(const CNetworkMap& map, const SitePlan* stored) {
    SiteFacts facts = stored != nullptr ? stored->Facts() : SiteFacts{};
    facts.network = map.Network();
    if (map.RepeaterCount() >= 0 || stored == nullptr) {
        facts.repeaterCount = std::max(map.RepeaterCount(), 0);
    }
    AsBuilt built{SitePlan(facts), {}, false};
    for (int32_t id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        const MapCell& cell = map.Device(id);
        if (cell.state == DeviceState::kNotProgrammed) {
            continue;
        }
        PlannedDevice device;
        device.id = id;
        device.role = BandOf(id, facts.repeaterCount);
        if (const PlannedDevice* planned = stored != nullptr ? stored->Find(id) : nullptr) {
            device.label = planned->label;
            device.location = planned->location;
        }
        const std::string* report = WholeReport(cell);
        if (report == nullptr || !ReadBackValues(*report, device.values)) {
            built.leftOut.push_back(id);
            continue;
        }
        built.plan.AddDevice(std::move(device));
    }
    AddModem(map, stored, built);
    return built;
}
