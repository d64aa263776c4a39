#include "MapCellTexts.h"

#include <QStringList>

#include "EditorTexts.h"
#include "Frames.h"
#include "MapTexts.h"
#include "ShownText.h"

namespace MapCellTexts {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString Device(const std::string& bytes) {
    return QString::fromStdString(DeviceToUtf8(bytes)).trimmed();
}

// The cell's latest exchange: when, who, what went out, what came back, and the verdict.
QString RecordText(const QString& words, const MapCell& cell) {
    if (!cell.last) {
        return words;
    }
    const JournalEntry& last = *cell.last;
    QStringList lines{words, QStringLiteral("%1 · %2 · %3")
                                 .arg(ShownTime(last.epochMs, last.timestamp),
                                      ShownText(last.editor), ShownText(last.portName))};
    const auto add = [&lines](const char* label, const QString& value) {
        if (!value.isEmpty()) {
            lines << QString::fromUtf8(label).arg(value);
        }
    };
    add(MapViewTexts::kSentLine, Device(cell.lastSent.empty() ? last.command : cell.lastSent));
    add(MapViewTexts::kReadLine, last.report ? Device(*last.report) : QString());
    add(MapViewTexts::kVerdictLine, ShownText(last.verdict));
    add(MapViewTexts::kMessageLine, ShownText(last.message));
    add(MapViewTexts::kCauseLine, ShownText(last.cause));
    return lines.join(QLatin1Char('\n'));
}

CNetworkMapView::Cell CellOf(const std::string& words, const MapCell& cell) {
    const QString name = Utf8(words);
    return {cell.state, Utf8(StateMark(cell.state)), name, RecordText(name, cell)};
}

}  // namespace

CNetworkMapView::Cell DeviceCell(int32_t id, const MapCell& cell) {
    return CellOf(CellAccessibleName(id, cell), cell);
}

CNetworkMapView::Cell ModemCell(int32_t param, const MapCell& cell) {
    return CellOf(ModemCellAccessibleName(param, cell), cell);
}

CNetworkMapView::Cell PlanDeviceCell(int32_t id, const SitePlan& plan, const CNetworkMap& map) {
    const PlannedDevice* planned = plan.Find(id);
    const PlanState state = DevicePlanState(plan, map, id);
    const QString name =
        Utf8(PlanCellAccessibleName(id, planned != nullptr ? planned->label : "", state));
    const MapCell& cell = map.Device(id);
    const DeviceState colour =
        state == PlanState::kNotPlanned ? cell.state : PlanStateOfInfo(state).colour;
    return {colour, Utf8(PlanStateOfInfo(state).mark), name, RecordText(name, cell)};
}

CNetworkMapView::Cell PlanModemCell(int32_t param, const SitePlan& plan, const CNetworkMap& map) {
    const PlanState state = ModemPlanState(plan, map, param);
    const QString name = Utf8(ModemName(param) + " : " + PlanStateOfInfo(state).words);
    return {PlanStateOfInfo(state).colour, Utf8(PlanStateOfInfo(state).mark), name,
            RecordText(name, map.ModemParam(param))};
}

QString Legend() {
    QStringList parts;
    for (const std::string& item : LegendItems()) {
        parts << Utf8(item);
    }
    // Two lines, so the legend is no wider than the map.
    return parts.mid(0, 3).join(QStringLiteral("   ")) + QLatin1Char('\n') +
           parts.mid(3).join(QStringLiteral("   "));
}

QString PlanLegend() {
    QStringList parts;
    for (const PlanStateInfo& info : kPlanStates) {
        parts << Utf8(std::string(info.mark) + " " + info.words);
    }
    return parts.mid(0, 4).join(QStringLiteral("   ")) + QLatin1Char('\n') +
           parts.mid(4).join(QStringLiteral("   "));
}

QString Notes(bool unnamed, size_t skippedLines, const std::vector<std::string>& unreadable,
              size_t leftAside) {
    QStringList notes;
    if (unnamed) {
        notes << QString::fromUtf8(MapViewTexts::kNoNetwork);
    }
    if (skippedLines > 0) {
        notes << QString::fromUtf8(MapViewTexts::kSkippedLines).arg(skippedLines);
    }
    if (!unreadable.empty()) {
        QStringList paths;
        for (const std::string& path : unreadable) {
            paths << Utf8(path);
        }
        notes << QString::fromUtf8(MapViewTexts::kUnreadableFiles).arg(paths.join(", "));
    }
    if (leftAside > 0) {
        notes << QString::fromUtf8(MapViewTexts::kLeftAside).arg(leftAside);
    }
    return notes.join(QLatin1Char('\n'));
}

}  // namespace MapCellTexts
