#pragma once

#include <string>

// A site walked by plan for the guide's picture: its plan stored beside the journal folder,
// and a first morning of work journaled in that folder.
namespace PlanSample {

inline constexpr char kNetwork[] = "Station Les Saules";
inline constexpr int kRepeaters = 2;

// The plan kept as the network's; false when it could not be.
bool StorePlan(const std::string& journalFolder);
// Both repeaters and a sensor conforme, a sensor that took another channel; the rest to do.
bool JournalMorning(const std::string& journalFolder);

}  // namespace PlanSample
