#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "CNetworkMap.h"
#include "SitePlan.h"

// Where a device stands against the site's plan, from its latest exchange. Conforme: the
// latest read-back equals the plan on every parameter.
enum class PlanState {
    kConforme,
    kDiffersFromPlan,  // what came back is what was sent, but not what was planned
    kDiffersFromSent,  // what came back is neither what was sent nor what was planned
    kSilent,
    kPortFailure,
    kNotDone,
    kNotPlanned,
};
inline constexpr size_t kPlanStateCount = 7;

struct PlanStateInfo {
    PlanState state;
    const char* mark;    // tells the state without colour
    const char* words;   // a cell's tooltip and accessible name, after its ID and label
    DeviceState colour;  // the map state whose colour the cell takes
};

inline constexpr std::array<PlanStateInfo, kPlanStateCount> kPlanStates{{
    {PlanState::kConforme, "✓", "conforme au plan", DeviceState::kVerified},
    {PlanState::kDiffersFromPlan, "Δ", "différente du plan", DeviceState::kDiffers},
    {PlanState::kDiffersFromSent, "≠", "valeurs lues différentes de l'envoi",
     DeviceState::kDiffers},
    {PlanState::kSilent, "?", "envoyée, sans réponse", DeviceState::kNoReport},
    {PlanState::kPortFailure, "✗", "échec du port", DeviceState::kPortFailure},
    {PlanState::kNotDone, "·", "à faire", DeviceState::kNotProgrammed},
    {PlanState::kNotPlanned, "+", "hors plan", DeviceState::kVerified},
}};

constexpr bool InPlanStateOrder() {
    for (size_t i = 0; i < kPlanStates.size(); ++i) {
        if (kPlanStates[i].state != static_cast<PlanState>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(InPlanStateOrder(), "one row per plan state, in the enumeration's order");

constexpr const PlanStateInfo& PlanStateOfInfo(PlanState state) {
    return kPlanStates[static_cast<size_t>(state)];
}

// A device's state against the plan; kNotPlanned for an ID the plan does not hold.
// The cell's latest report when it came back whole; none otherwise.
const std::string* WholeReport(const MapCell& cell);

PlanState DevicePlanState(const SitePlan& plan, const CNetworkMap& map, int32_t id);
// The modem page's parameter 1..6 against the plan's modem; kNotPlanned without one.
PlanState ModemPlanState(const SitePlan& plan, const CNetworkMap& map, int32_t number);

struct PlanCount {
    int planned = 0;
    int conforme = 0;
};
PlanCount CountAgainstPlan(const SitePlan& plan, const CNetworkMap& map, PlanRole role);
PlanCount CountModemAgainstPlan(const SitePlan& plan, const CNetworkMap& map);

// The first planned ID of `role` not yet conforme, in ID order; none when all are.
std::optional<int32_t> FirstToDo(const SitePlan& plan, const CNetworkMap& map, PlanRole role);

// "ID 12 Pompe 3 : conforme au plan"; without a label "ID 12 : à faire".
std::string PlanCellAccessibleName(int32_t id, const std::string& label, PlanState state);
// "Répéteurs 3/4 conformes · Capteurs 17/38 conformes · Modem 6/6 conformes"; the modem
// only when the plan has one.
std::string PlanSummary(const SitePlan& plan, const CNetworkMap& map);
