#include "ReportVerdict.h"

#include <utility>

#include "MapTexts.h"

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

NetworkVerdict JudgeNetwork(const CNetworkMap& map) {
    NetworkVerdict verdict;
    for (int32_t id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        Judge(verdict, map.Device(id), std::to_string(id));
    }
    for (int32_t param = 1; param <= kModemParamCount; ++param) {
        Judge(verdict, map.ModemParam(param), ModemName(param));
    }
    return verdict;
}
