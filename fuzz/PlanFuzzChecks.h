#pragma once

// What must hold for any plan file, shared by the plan reader's fuzz entry and the replay of
// its corpus in the unit tests: an empty text when all is well, else what went wrong.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "PlanReader.h"
#include "PlanWriter.h"

namespace fuzzchecks {

inline std::string CheckPlanReader(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const PlanReading reading = PlanReader::Read(bytes);
    if (reading.plan.has_value() == !reading.problems.empty()) {
        return "a reading gave both a plan and problems, or neither";
    }
    const size_t lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    for (const PlanProblem& problem : reading.problems) {
        if (problem.line > lines || problem.reason.empty()) {
            return "a problem names a line the file does not have, or no reason";
        }
    }
    if (!reading.plan) {
        return {};
    }
    for (const char separator : {';', ','}) {
        const PlanReading again = PlanReader::Read(PlanText(*reading.plan, separator));
        if (!again.plan || !(*again.plan == *reading.plan)) {
            return "a plan written back does not read as the same plan";
        }
    }
    return {};
}

}  // namespace fuzzchecks
