#pragma once

#include <string>
#include <vector>

#include "CNetworkMap.h"
#include "SitePlan.h"

// The acceptance verdict of a network, from every device and modem parameter that was sent:
// "Non conforme" when one of them is not verified at its latest exchange (or nothing was
// sent at all); "Conforme avec réserves (N)" when all are, but N of them only after an
// incident (a difference, a silence or a port failure) or after sends of different values;
// "Conforme" otherwise. IDs and parameters never sent are not judged.
struct NetworkVerdict {
    std::vector<std::string> failing;   // "7", "Modem P0": not verified at their latest
    std::vector<std::string> reserved;  // verified at their latest, after an incident
    bool anythingSent = false;

    std::string Words() const;
};

// With a site plan, every planned device and modem parameter is judged against the plan, sent
// or not: one that is not conforme at its latest exchange (never sent included) is failing;
// one conforme after an incident or sends of different values is a reserve. What was sent
// outside the plan is judged as without one.
NetworkVerdict JudgeNetwork(const CNetworkMap& map, const SitePlan* plan = nullptr);
