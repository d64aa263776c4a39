#include "SitePlan.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

bool ById(const PlannedDevice& device, int32_t id) {
    return device.id < id;
}

}  // namespace

bool operator==(const PlannedDevice& a, const PlannedDevice& b) {
    const auto key = [](const PlannedDevice& d) {
        return std::tie(d.id, d.role, d.label, d.location, d.values.ID, d.values.CHF, d.values.P0,
                        d.values.TYP, d.values.PRT, d.values.OFT);
    };
    return key(a) == key(b);
}

std::optional<int32_t> PlannedModem::ValueOfModemNumber(int32_t number) const {
    const ParameterInfo* info = ParameterOfModemNumber(number);
    if (info == nullptr) {
        return std::nullopt;
    }
    return Value(info->param);
}

SitePlan::SitePlan(SiteFacts facts) : facts(std::move(facts)) {}

bool SitePlan::AddDevice(PlannedDevice device) {
    if (device.id < kFirstDeviceId || device.id > kLastDeviceId) {
        return false;
    }
    const auto at = std::lower_bound(devices.begin(), devices.end(), device.id, ById);
    if (at != devices.end() && at->id == device.id) {
        return false;
    }
    device.values.ID = device.id;
    devices.insert(at, std::move(device));
    return true;
}

const PlannedDevice* SitePlan::Find(int32_t id) const {
    const auto at = std::lower_bound(devices.begin(), devices.end(), id, ById);
    return at != devices.end() && at->id == id ? &*at : nullptr;
}

std::vector<int32_t> SitePlan::Ids(PlanRole role) const {
    std::vector<int32_t> ids;
    for (const PlannedDevice& device : devices) {
        if (device.role == role) {
            ids.push_back(device.id);
        }
    }
    return ids;
}

size_t SitePlan::Count(PlanRole role) const {
    return static_cast<size_t>(std::count_if(devices.begin(), devices.end(),
                                             [role](const auto& d) { return d.role == role; }));
}

std::optional<int32_t> SitePlan::NextId(PlanRole role, int32_t id) const {
    const std::vector<int32_t> ids = Ids(role);
    if (ids.empty()) {
        return std::nullopt;
    }
    const auto after = std::upper_bound(ids.begin(), ids.end(), id);
    return after == ids.end() ? ids.front() : *after;
}

PlanRole BandOf(int32_t id, int32_t repeaterCount) {
    return id <= repeaterCount ? PlanRole::kRepeater : PlanRole::kSensor;
}

const char* RoleWord(PlanRole role) {
    return role == PlanRole::kRepeater ? "répéteur" : "capteur";
}
