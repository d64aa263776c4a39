#include "ReportRows.h"

#include "Frames.h"
#include "MapTexts.h"
#include "Parameters.h"
#include "ReportHtml.h"

using namespace ReportHtml;

// The values of a configuration frame in the report's order, as the frame wrote them; the
// frame as it is when it is not one.
QString FrameValues(const std::string& frame) {
    const std::optional<ParameterSet> sent = ParameterSetOfFrame(frame);
    if (!sent) {
        return CellText(DeviceToUtf8(frame));
    }
    std::string words;
    for (const ParameterInfo& info : kParameters) {
        words += (words.empty() ? "" : " ") + std::string(info.name) + " " +
                 FrameField(*sent, info.param);
    }
    return Text(DeviceToUtf8(words));
}

namespace {

QString SentValues(const MapCell& cell) {
    if (cell.lastSent.empty()) {
        return "—";
    }
    return cell.lastSent[0] == 'u' ? FrameValues(cell.lastSent)
                                   : CellText(DeviceToUtf8(cell.lastSent));
}

}  // namespace

QString ReadValues(const JournalEntry& entry) {
    if (!entry.report) {
        return "—";
    }
    const ReportValues values = CutReportValues(*entry.report);
    std::string words;
    for (const ParameterInfo& info : kParameters) {
        const std::string_view piece = values[info.param];
        words.append(words.empty() ? "" : " ")
            .append(info.name)
            .append(" ")
            .append(piece.substr(0, piece.find_first_of("\r\n")));
    }
    return CellText(DeviceToUtf8(words));
}

QString CellRow(const QString& name, const MapCell& cell) {
    const JournalEntry& last = *cell.last;
    return Row({name, CellText(StateMark(cell.state) + " " + StateWords(cell)), DateAndTime(last),
                SentValues(cell), ReadValues(last), CellText(last.verdict),
                CellText(last.message)});
}

QString DetailTable(const QStringList& rows) {
    const QString head = QString::fromUtf8(
        "<table width=\"100%\" cellspacing=\"0\"><thead><tr>"
        "<th width=\"11%\">ID</th><th width=\"16%\">État</th>"
        "<th width=\"12%\">Date et heure</th><th width=\"15%\">Valeurs envoyées</th>"
        "<th width=\"15%\">Valeurs lues</th><th width=\"12%\">Verdict</th>"
        "<th width=\"19%\">Message</th></tr></thead><tbody>");
    return Tables(head, rows);
}

QString DetailRows(const CNetworkMap& map) {
    QStringList rows;
    for (int id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        if (map.Device(id).sends > 0) {
            rows << CellRow(QString::number(id), map.Device(id));
        }
    }
    for (int param = 1; param <= kModemParamCount; ++param) {
        if (map.ModemParam(param).sends > 0) {
            rows << CellRow(Text(ModemName(param)), map.ModemParam(param));
        }
    }
    const QString html = QString::fromUtf8("<h2>Détail par ID</h2>");
    return rows.isEmpty() ? html + QString::fromUtf8("<p>Aucun envoi.</p>")
                          : html + DetailTable(rows);
}
