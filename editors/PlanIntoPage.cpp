#include "PlanIntoPage.h"

#include "Parameters.h"
#include "PlanWalkTexts.h"

namespace PlanIntoPage {

namespace {

// "Pompe 3, Local technique", without the parts the plan leaves empty.
QString Where(const std::string& label, const std::string& location) {
    QString where = QString::fromStdString(label);
    const QString place = QString::fromStdString(location);
    if (!where.isEmpty() && !place.isEmpty()) {
        where += QStringLiteral(", ");
    }
    where += place;
    return where;
}

}  // namespace

const PlannedDevice* PlannedFor(const SitePlan* plan, int32_t id, PlanRole band) {
    const PlannedDevice* planned = plan != nullptr ? plan->Find(id) : nullptr;
    return planned != nullptr && planned->role == band ? planned : nullptr;
}

void IntoFields(const PlannedDevice& planned, int32_t& CHF, int32_t& P0, QString& TYP, int32_t& PRT,
                int32_t& OFT) {
    CHF = planned.values.CHF;
    P0 = planned.values.P0;
    TYP = QString::fromLatin1(planned.values.TYP.data(),
                              static_cast<qsizetype>(planned.values.TYP.size()));
    PRT = planned.values.PRT;
    OFT = planned.values.OFT;
}

std::optional<int32_t> ModemValue(const SitePlan* plan, int32_t number) {
    if (plan == nullptr || !plan->Modem()) {
        return std::nullopt;
    }
    return plan->Modem()->ValueOfModemNumber(number);
}

QString DeviceLine(const SitePlan* plan, const PlannedDevice* planned, int32_t id) {
    if (plan == nullptr) {
        return {};
    }
    if (planned == nullptr) {
        return QString::fromUtf8(PlanWalkTexts::kNotInPlan).arg(id);
    }
    const QString where = Where(planned->label, planned->location);
    const QString line = QString::fromUtf8(PlanWalkTexts::kDeviceLine).arg(id);
    return where.isEmpty() ? line : line + QStringLiteral(" : ") + where;
}

QString ModemLine(const SitePlan* plan, int32_t number) {
    const std::optional<int32_t> value = ModemValue(plan, number);
    const ParameterInfo* info = ParameterOfModemNumber(number);
    if (!value || info == nullptr) {
        return {};
    }
    const QString where = Where(plan->Modem()->label, plan->Modem()->location);
    const QString line = QString::fromUtf8(PlanWalkTexts::kModemLine)
                             .arg(QString::fromUtf8(info->name), QString::number(*value));
    return where.isEmpty() ? line : line + QStringLiteral(" (") + where + QLatin1Char(')');
}

}  // namespace PlanIntoPage
