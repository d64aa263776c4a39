#include "ReportVerdict.h"

#include <utility>

#include "MapTexts.h"
#include "PlanStates.h"

namespace {

void Judge(NetworkVerdict& verdict, const MapCell& cell, std::string name) {
    if (cell.sends == 0) {
        return;
    }
    verdict.anythingSent = true;
    if (cell.state != DeviceState::kVerified) {
        verdict.failing.push_back(std::move(name));
    } else if (cell.incidents > 0 || cell.sentDifferentValues) {
        verdict.reserved.push_back(std::move(name));
    }
}

void JudgePlanned(NetworkVerdict& verdict, const MapCell& cell, PlanState state, std::string name) {
    verdict.anythingSent = verdict.anythingSent || cell.sends > 0;
    if (state != PlanState::kConforme) {
        verdict.failing.push_back(std::move(name));
    } else if (cell.incidents > 0 || cell.sentDifferentValues) {
        verdict.reserved.push_back(std::move(name));
    }
}

}  // namespace

std::string NetworkVerdict::Words() const {
    if (!anythingSent || !failing.empty()) {
        return "Non conforme";
    }
    if (!reserved.empty()) {
        return "Conforme avec réserves (" + std::to_string(reserved.size()) + ")";
    }
    return "Conforme";
}

NetworkVerdict JudgeNetwork(const CNetworkMap& map, const SitePlan* plan) {
    NetworkVerdict verdict;
    for (int32_t id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        if (plan != nullptr && plan->Find(id) != nullptr) {
            JudgePlanned(verdict, map.Device(id), DevicePlanState(*plan, map, id),
                         std::to_string(id));
        } else {
            Judge(verdict, map.Device(id), std::to_string(id));
        }
    }
    const bool modemPlanned = plan != nullptr && plan->Modem();
    for (int32_t param = 1; param <= kModemParamCount; ++param) {
        if (modemPlanned) {
            JudgePlanned(verdict, map.ModemParam(param), ModemPlanState(*plan, map, param),
                         ModemName(param));
        } else {
            Judge(verdict, map.ModemParam(param), ModemName(param));
        }
    }
    return verdict;
}
