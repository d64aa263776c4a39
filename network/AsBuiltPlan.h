#pragma once

#include <cstdint>
#include <vector>

#include "CNetworkMap.h"
#include "SitePlan.h"

// A network as it stands, as a plan: each device with the values its latest exchange read
// back, labels and facts from the network's stored plan when it has one.
struct AsBuilt {
    SitePlan plan;
    // Sent to, but their latest exchange read nothing whole or nothing a plan can hold.
    std::vector<int32_t> leftOut;
    bool modemLeftOut = false;
};

// `stored` may be null; the repeater count is the map's, else the stored plan's, else 0.
AsBuilt AsBuiltPlan(const CNetworkMap& map, const SitePlan* stored);
