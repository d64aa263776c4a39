#pragma once

#include <ostream>
#include <string>

#include "SitePlan.h"

// Reads a plan file whole; false with every reason on `err`, one line each, and nothing of
// the file in `plan`, when it cannot be read or is refused.
bool ReadPlanFile(const std::string& path, SitePlan& plan, std::ostream& err);

// "1 problème", "4 problèmes".
std::string Counted(size_t count, const char* one, const char* many);
