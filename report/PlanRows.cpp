#include "PlanRows.h"

#include <cstdio>

#include "Frames.h"
#include "MapTexts.h"
#include "Parameters.h"
#include "PlanStates.h"
#include "ReportHtml.h"
#include "ReportRows.h"
#include "Verdict.h"

using namespace ReportHtml;

namespace {

// "CHF prévu 012, lu 013; TYP prévu A, lu B": what the plan wanted and what came back.
std::string PlanDifferences(const Verdict& againstPlan) {
    std::string words;
    for (const FieldDifference& difference : againstPlan.differences) {
        words += (words.empty() ? "" : "; ") + difference.field + " prévu " +
                 DeviceToUtf8(difference.sent) + ", lu " + difference.read;
    }
    return words;
}

// The state's words, and for a read-back that differs, which fields and how.
std::string VerdictWords(PlanState state, const Verdict& againstPlan, const MapCell& cell) {
    std::string words = PlanStateOfInfo(state).words;
    if (state == PlanState::kDiffersFromPlan) {
        words += " : " + PlanDifferences(againstPlan);
    } else if (state == PlanState::kDiffersFromSent) {
        words += " : " + VerdictText(cell.verdict);
    }
    return words;
}

QString DateOf(const MapCell& cell) {
    return cell.last ? DateAndTime(*cell.last) : QString::fromUtf8("—");
}

QString PlannedValues(const ParameterSet& values) {
    std::string words;
    for (const ParameterInfo& info : kParameters) {
        words += (words.empty() ? "" : " ") + std::string(info.name) + " " +
                 FrameField(values, info.param);
    }
    return Text(DeviceToUtf8(words));
}

std::string ThreeDigits(int32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", static_cast<int>(value));
    return digits;
}

QString ModemReadValue(const MapCell& cell, Param param) {
    if (!cell.last || !cell.last->report) {
        return QString::fromUtf8("—");
    }
    const ReportValues values = CutReportValues(*cell.last->report);
    const std::string_view piece = values[param];
    return CellText(DeviceToUtf8(piece.substr(0, piece.find_first_of("\r\n"))));
}

QString DeviceRow(const SitePlan& plan, const CNetworkMap& map, const PlannedDevice& device) {
    const MapCell& cell = map.Device(device.id);
    return Row({QString::number(device.id), CellText(device.label), CellText(device.location),
                PlannedValues(device.values),
                cell.last ? ReadValues(*cell.last) : QString::fromUtf8("—"),
                CellText(PlannedDeviceVerdict(plan, map, device.id)), DateOf(cell)});
}

QString ModemRow(const SitePlan& plan, const CNetworkMap& map, int32_t number) {
    const PlannedModem& modem = *plan.Modem();
    const ParameterInfo& info = *ParameterOfModemNumber(number);
    const MapCell& cell = map.ModemParam(number);
    return Row({Text(ModemName(number)), CellText(modem.label), CellText(modem.location),
                Text(std::string(info.name) + " " + ThreeDigits(modem.Value(info.param))),
                ModemReadValue(cell, info.param), CellText(PlannedModemVerdict(plan, map, number)),
                DateOf(cell)});
}

QString PlannedTable(const SitePlan& plan, const CNetworkMap& map) {
    QStringList rows;
    for (const PlannedDevice& device : plan.Devices()) {
        rows << DeviceRow(plan, map, device);
    }
    for (int32_t number = 1; plan.Modem() && number <= kModemParamCount; ++number) {
        rows << ModemRow(plan, map, number);
    }
    const QString head = QString::fromUtf8(
        "<table width=\"100%\" cellspacing=\"0\"><thead><tr>"
        "<th width=\"9%\">ID</th><th width=\"13%\">Désignation</th>"
        "<th width=\"13%\">Emplacement</th><th width=\"17%\">Valeurs prévues</th>"
        "<th width=\"17%\">Valeurs lues</th><th width=\"19%\">Verdict</th>"
        "<th width=\"12%\">Date et heure</th></tr></thead><tbody>");
    const QString html = QString::fromUtf8("<h2>Détail par appareil du plan</h2>");
    return rows.isEmpty() ? html + QString::fromUtf8("<p>Aucun appareil prévu.</p>")
                          : html + Tables(head, rows);
}

// Sent although the plan does not hold them: today's rows, apart.
QString UnplannedTable(const SitePlan& plan, const CNetworkMap& map) {
    QStringList rows;
    for (int32_t id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        if (map.Device(id).sends > 0 && plan.Find(id) == nullptr) {
            rows << CellRow(QString::number(id), map.Device(id));
        }
    }
    for (int32_t number = 1; !plan.Modem() && number <= kModemParamCount; ++number) {
        if (map.ModemParam(number).sends > 0) {
            rows << CellRow(Text(ModemName(number)), map.ModemParam(number));
        }
    }
    const QString html = QString::fromUtf8("<h2>Appareils hors plan</h2>");
    return rows.isEmpty() ? html + QString::fromUtf8("<p>Aucun.</p>") : html + DetailTable(rows);
}

QString NeverDone(const SitePlan& plan, const CNetworkMap& map) {
    QStringList rows;
    for (const PlannedDevice& device : plan.Devices()) {
        if (map.Device(device.id).sends == 0) {
            rows << Row(
                {QString::number(device.id), CellText(device.label), CellText(device.location)});
        }
    }
    for (int32_t number = 1; plan.Modem() && number <= kModemParamCount; ++number) {
        if (map.ModemParam(number).sends == 0) {
            rows << Row({Text(ModemName(number)), CellText(plan.Modem()->label),
                         CellText(plan.Modem()->location)});
        }
    }
    const QString head = QString::fromUtf8(
        "<table width=\"100%\" cellspacing=\"0\"><thead><tr>"
        "<th width=\"20%\">ID</th><th width=\"40%\">Désignation</th>"
        "<th width=\"40%\">Emplacement</th></tr></thead><tbody>");
    const QString html = QString::fromUtf8("<h2>Appareils du plan jamais faits</h2>");
    return rows.isEmpty() ? html + QString::fromUtf8("<p>Aucun.</p>") : html + Tables(head, rows);
}

}  // namespace

QString PlanRows(const SitePlan& plan, const CNetworkMap& map) {
    return PlannedTable(plan, map) + UnplannedTable(plan, map) + NeverDone(plan, map);
}

std::string PlannedDeviceVerdict(const SitePlan& plan, const CNetworkMap& map, int32_t id) {
    const PlanState state = DevicePlanState(plan, map, id);
    const PlannedDevice* planned = plan.Find(id);
    const MapCell& cell = map.Device(id);
    const std::string* report = WholeReport(cell);
    const Verdict againstPlan =
        planned != nullptr && report != nullptr ? JudgeConfig(planned->values, *report) : Verdict{};
    return VerdictWords(state, againstPlan, cell);
}

std::string PlannedModemVerdict(const SitePlan& plan, const CNetworkMap& map, int32_t number) {
    const PlanState state = ModemPlanState(plan, map, number);
    const ParameterInfo* info = ParameterOfModemNumber(number);
    const MapCell& cell = map.ModemParam(number);
    const std::string* report = WholeReport(cell);
    const Verdict againstPlan =
        plan.Modem() && info != nullptr && report != nullptr
            ? JudgeModemValue(*info, plan.Modem()->Value(info->param), *report)
            : Verdict{};
    return VerdictWords(state, againstPlan, cell);
}
