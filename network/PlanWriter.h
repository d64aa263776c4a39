#pragma once

#include <string>

#include "SitePlan.h"

// The plan as its file: the facts, the header, a row per device in ID order, the modem last.
// The reader reads it back as the same plan.
std::string PlanText(const SitePlan& plan, char separator = ';');
