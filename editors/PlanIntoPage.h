#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "SitePlan.h"

// The one place where the site's plan becomes what a page shows: a planned device's values
// in the repeater and sensor pages' fields, a planned modem parameter in the modem page's,
// and the line beside the form that says where they come from.
namespace PlanIntoPage {

// The planned device of `id` when the plan holds it in the page's band; null otherwise, and
// always without a plan.
const PlannedDevice* PlannedFor(const SitePlan* plan, int32_t id, PlanRole band);

// The planned values, in the fields a configuration page exchanges.
void IntoFields(const PlannedDevice& planned, int32_t& CHF, int32_t& P0, QString& TYP, int32_t& PRT,
                int32_t& OFT);

// The modem page's parameter 1..6 as the plan's modem wants it; none without one.
std::optional<int32_t> ModemValue(const SitePlan* plan, int32_t number);

// "Valeurs du plan pour l'ID 12 : Pompe 3, Local technique"; for an ID outside the plan
// that the page is on, that its values are typed by hand; empty without a plan.
QString DeviceLine(const SitePlan* plan, const PlannedDevice* planned, int32_t id);
// "Valeur du plan pour le modem : P0 = 7"; empty without a planned value.
QString ModemLine(const SitePlan* plan, int32_t number);

}  // namespace PlanIntoPage
