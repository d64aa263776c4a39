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
    const char* words;  // a cell's tooltip and accessible name, after its ID and label
};

inline constexpr std::array<PlanStateInfo, kPlanStateCount> kPlanStates{{
    {PlanState::kConforme, "conforme au plan"},
    {PlanState::kDiffersFromPlan, "différente du plan"},
    {PlanState::kDiffersFromSent, "valeurs lues différentes de l'envoi"},
    {PlanState::kSilent, "envoyée, sans réponse"},
    {PlanState::kPortFailure, "échec du port"},
    {PlanState::kNotDone, "à faire"},
    {PlanState::kNotPlanned, "hors plan"},
}};

constexpr const PlanStateInfo& PlanStateOfInfo(PlanState state) {
    return kPlanStates[static_cast<size_t>(state)];
}

// A device's state against the plan; kNotPlanned for an ID the plan does not hold.
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
