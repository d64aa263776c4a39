#include "ReportIncidents.h"

#include "MapTexts.h"
#include "ReportHtml.h"

using namespace ReportHtml;

namespace {

QString Name(const MapIncident& incident) {
    return Text(incident.modem ? ModemName(incident.key) : "ID " + std::to_string(incident.key));
}

QString What(const MapIncident& incident) {
    MapCell cell;
    cell.state = incident.state;
    cell.verdict = incident.verdict;
    return CellText(StateMark(cell.state) + " " + StateWords(cell));
}

QString Outcome(const MapIncident& incident) {
    if (!incident.redoneMs) {
        return QString::fromUtf8("non repris");
    }
    return QString::fromUtf8("repris le ") +
           DateAndTime(*incident.redoneMs, incident.redoneTimestamp);
}

}  // namespace

QString IncidentHistory(const CNetworkMap& map) {
    QString html = QString::fromUtf8("<h2>Historique des incidents</h2>");
    if (map.Incidents().empty()) {
        return html + QString::fromUtf8("<p>Aucun incident.</p>");
    }
    QStringList rows;
    for (const MapIncident& incident : map.Incidents()) {
        rows << Row({DateAndTime(incident.epochMs, incident.timestamp), Name(incident),
                     What(incident), Outcome(incident)});
    }
    const QString head = QString::fromUtf8(
        "<table width=\"100%\" cellspacing=\"0\"><thead><tr>"
        "<th width=\"22%\">Date et heure</th><th width=\"14%\">Appareil</th>"
        "<th width=\"36%\">Incident</th><th width=\"28%\">Suite</th></tr></thead><tbody>");
    return html + Tables(head, rows);
}
