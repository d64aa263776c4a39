#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "CNetworkMap.h"
#include "SitePlan.h"

// The report's rows against a site plan: one per planned device and modem parameter, then
// the devices sent that the plan does not hold, then the planned ones never sent.
QString PlanRows(const SitePlan& plan, const CNetworkMap& map);

// A planned device's verdict against the plan, naming what differs: "conforme au plan",
// "différente du plan : CHF prévu 012, lu 013", "à faire", …
std::string PlannedDeviceVerdict(const SitePlan& plan, const CNetworkMap& map, int32_t id);
// The same for the modem page's parameter 1..6 of a plan with a modem.
std::string PlannedModemVerdict(const SitePlan& plan, const CNetworkMap& map, int32_t number);
