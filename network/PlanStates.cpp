#include "PlanStates.h"

#include "Frames.h"
#include "NetworkTexts.h"
#include "Verdict.h"

const std::string* WholeReport(const MapCell& cell) {
    const bool whole = cell.last && cell.last->report && IsWholeReport(*cell.last->report);
    return whole ? &*cell.last->report : nullptr;
}

namespace {

// What did not come back whole says why; what came back is judged against the plan.
PlanState StateOfSent(const MapCell& cell, bool equalsPlan) {
    switch (cell.state) {
        case DeviceState::kNotProgrammed:
            return PlanState::kNotDone;
        case DeviceState::kNoReport:
        case DeviceState::kCancelled:
            return PlanState::kSilent;
        case DeviceState::kPortFailure:
            return PlanState::kPortFailure;
        case DeviceState::kVerified:
        case DeviceState::kDiffers:
            break;
    }
    if (equalsPlan) {
        return PlanState::kConforme;
    }
    return cell.state == DeviceState::kDiffers ? PlanState::kDiffersFromSent
                                               : PlanState::kDiffersFromPlan;
}

std::string CountWords(const char* name, const PlanCount& count) {
    return std::string(name) + " " + std::to_string(count.conforme) + "/" +
           std::to_string(count.planned) + " conformes";
}

}  // namespace

PlanState DevicePlanState(const SitePlan& plan, const CNetworkMap& map, int32_t id) {
    const PlannedDevice* planned = plan.Find(id);
    if (planned == nullptr) {
        return PlanState::kNotPlanned;
    }
    const MapCell& cell = map.Device(id);
    const std::string* report = WholeReport(cell);
    const bool equalsPlan =
        report != nullptr && JudgeConfig(planned->values, *report).kind == VerdictKind::kVerified;
    return StateOfSent(cell, equalsPlan);
}

PlanState ModemPlanState(const SitePlan& plan, const CNetworkMap& map, int32_t number) {
    const ParameterInfo* info = ParameterOfModemNumber(number);
    if (!plan.Modem() || info == nullptr) {
        return PlanState::kNotPlanned;
    }
    const int32_t value = plan.Modem()->Value(info->param);
    const MapCell& cell = map.ModemParam(number);
    const std::string* report = WholeReport(cell);
    const bool equalsPlan =
        report != nullptr && JudgeModemValue(*info, value, *report).kind == VerdictKind::kVerified;
    return StateOfSent(cell, equalsPlan);
}

PlanCount CountAgainstPlan(const SitePlan& plan, const CNetworkMap& map, PlanRole role) {
    PlanCount count;
    for (int32_t id : plan.Ids(role)) {
        ++count.planned;
        count.conforme += DevicePlanState(plan, map, id) == PlanState::kConforme ? 1 : 0;
    }
    return count;
}

PlanCount CountModemAgainstPlan(const SitePlan& plan, const CNetworkMap& map) {
    PlanCount count;
    if (!plan.Modem()) {
        return count;
    }
    for (int32_t number = 1; number <= kModemParamCount; ++number) {
        ++count.planned;
        count.conforme += ModemPlanState(plan, map, number) == PlanState::kConforme ? 1 : 0;
    }
    return count;
}

std::optional<int32_t> FirstToDo(const SitePlan& plan, const CNetworkMap& map, PlanRole role) {
    for (int32_t id : plan.Ids(role)) {
        if (DevicePlanState(plan, map, id) != PlanState::kConforme) {
            return id;
        }
    }
    return std::nullopt;
}

std::string PlanCellAccessibleName(int32_t id, const std::string& label, PlanState state) {
    std::string name = "ID " + std::to_string(id);
    if (!label.empty()) {
        name += " " + label;
    }
    return name + " : " + PlanStateOfInfo(state).words;
}

std::string PlanSummary(const SitePlan& plan, const CNetworkMap& map) {
    std::string summary =
        CountWords("Répéteurs", CountAgainstPlan(plan, map, PlanRole::kRepeater)) + " · " +
        CountWords("Capteurs", CountAgainstPlan(plan, map, PlanRole::kSensor));
    if (plan.Modem()) {
        summary += " · " + CountWords(NetworkTexts::kModem, CountModemAgainstPlan(plan, map));
    }
    return summary;
}
