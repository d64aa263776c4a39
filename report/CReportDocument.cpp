#include "CReportDocument.h"

#include <set>

#include "CMapPicture.h"
#include "Frames.h"
#include "MapTexts.h"
#include "NetworkTexts.h"
#include "Parameters.h"
#include "ShownText.h"

namespace {

// A cell holds at most this much of a journal's text: a row taller than a few pages makes
// the PDF's layout slow down with every page after it, and the journal keeps the rest.
constexpr qsizetype kCellCharacters = 2000;
// Qt draws every page of a table in time that grows with the table: the rows go in tables of
// this many, one after the other, each with its heading and the same column widths.
constexpr int kRowsPerTable = 10;

QString Text(const std::string& utf8) {
    return ShownText(utf8).toHtmlEscaped();
}

QString CellText(const std::string& utf8) {
    return ShownText(utf8, kCellCharacters).toHtmlEscaped();
}

QString DateAndTime(const JournalEntry& entry) {
    return ShownTime(entry.epochMs, entry.timestamp).toHtmlEscaped();
}

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

QString ReadValues(const JournalEntry& entry) {
    if (!entry.report) {
        return "—";
    }
    const ReportValues values = CutReportValues(*entry.report);
    std::string words;
    for (const ParameterInfo& info : kParameters) {
        const std::string& piece = values[info.param];
        words += (words.empty() ? "" : " ") + std::string(info.name) + " " +
                 piece.substr(0, piece.find_first_of("\r\n"));
    }
    return CellText(DeviceToUtf8(words));
}

QString SentValues(const MapCell& cell) {
    if (cell.lastSent.empty()) {
        return "—";
    }
    return cell.lastSent[0] == 'u' ? FrameValues(cell.lastSent)
                                   : CellText(DeviceToUtf8(cell.lastSent));
}

QString IdList(const std::vector<int>& ids) {
    QStringList parts;
    for (const int id : ids) {
        parts << QString::number(id);
    }
    return parts.isEmpty() ? QString::fromUtf8("aucun") : parts.join(", ");
}

QString Item(const char* label, const QString& value) {
    return "<li>" + QString::fromUtf8(label) + " : " + value + "</li>";
}

// Each ID whose machines' latest sends differ, with each machine's send: a skewed clock
// decided which one the map shows.
QString OnSeveralMachines(const CNetworkMap& map) {
    QStringList ids;
    for (const int32_t id : map.ProgrammedOnSeveralMachines()) {
        QStringList sends;
        for (const MachineSend& send : map.Device(id).machineSends) {
            sends << Text(send.machine) + " (" +
                         ShownTime(send.epochMs, send.timestamp).toHtmlEscaped() + ", " +
                         FrameValues(send.command) + ")";
        }
        ids << QString::number(id) + " : " + sends.join(", ");
    }
    return ids.isEmpty()
               ? QString()
               : "<li>" +
                     Text(MachinesWords(map.Device(map.ProgrammedOnSeveralMachines().front()))) +
                     " : " + ids.join(" ; ") + "</li>";
}

template <class Test>
std::vector<int> DevicesWhere(const CNetworkMap& map, Test test) {
    std::vector<int> ids;
    for (int id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        if (test(map.Device(id))) {
            ids.push_back(id);
        }
    }
    return ids;
}

}  // namespace

CReportDocument::CReportDocument(const ReportInput& input) : input(input), map(input.network) {
    map.Add(input.entries);
    map.CountSkipped(input.skippedLines);
    repeaterCount = std::max(0, map.RepeaterCount());
}

QImage CReportDocument::MapImage() const {
    return CMapPicture(map, repeaterCount).Render();
}

QString CReportDocument::Html(const QString& mapSource) const {
    QString html =
        "<!DOCTYPE html><html lang=\"fr\"><head><meta charset=\"utf-8\">"
        "<title>" +
        QString::fromUtf8(NetworkTexts::kReportTitle) +
        "</title><style>"
        "body{font-family:sans-serif;font-size:10pt} table{border-collapse:collapse}"
        "th,td{border:1px solid #888;padding:2px 4px;font-size:8pt} th{background:#ddd}"
        "</style></head><body>";
    html += "<h1>" + QString::fromUtf8(NetworkTexts::kReportTitle) + "</h1>";
    html += Facts();
    html += "<h2>Carte du réseau</h2><p><img src=\"" + mapSource + "\" width=\"661\"></p>";
    html += Counts() + Anomalies() + Rows();
    return html + "</body></html>";
}

QString CReportDocument::Facts() const {
    std::set<std::string> roles;
    for (const JournalEntry& entry : input.entries) {
        roles.insert(entry.role);
    }
    QStringList roleList;
    for (const std::string& role : roles) {
        roleList << Text(role);
    }
    QStringList folders;
    for (const std::string& folder : input.folders) {
        folders << Text(folder);
    }
    const JournalEntry& first = input.entries.front();
    const JournalEntry& last = input.entries.back();
    return "<ul>" + Item("Réseau", Text(input.network)) +
           Item("Premier échange", DateAndTime(first)) +
           Item("Dernier échange", DateAndTime(last)) + Item("Rôles", roleList.join(", ")) +
           Item("Version de l'outil", Text(input.toolVersion)) +
           Item("Machine", Text(input.machineName)) +
           Item("Dossiers du journal lus", folders.join(", ")) +
           Item("Échanges", QString::number(input.entries.size())) +
           Item("Lignes ignorées", QString::number(input.skippedLines)) + Unread() + "</ul>";
}

// Said only when something was left out.
QString CReportDocument::Unread() const {
    QString items;
    const auto list = [&items](const char* label, const std::vector<std::string>& paths) {
        QStringList texts;
        for (const std::string& path : paths) {
            texts << Text(path);
        }
        if (!texts.isEmpty()) {
            items += Item(label, texts.join(", "));
        }
    };
    list("Dossiers du journal illisibles", input.unreadableFolders);
    list("Fichiers du journal illisibles", input.unreadableFiles);
    list("Fichiers laissés de côté (copies de synchronisation, fichiers temporaires ou étrangers)",
         input.leftAside);
    return items;
}

QString CReportDocument::Counts() const {
    int modemVerified = 0;
    for (int param = 1; param <= kModemParamCount; ++param) {
        modemVerified += map.ModemParam(param).state == DeviceState::kVerified ? 1 : 0;
    }
    return "<h2>Comptes</h2><p>" + Text(BandSummary(map, repeaterCount)) + "<br>" +
           QString::fromUtf8("%1 %2/%3 paramètres vérifiés")
               .arg(QString::fromUtf8(NetworkTexts::kModem))
               .arg(modemVerified)
               .arg(kModemParamCount) +
           "</p>";
}

QString CReportDocument::Anomalies() const {
    const auto neverVerified =
        DevicesWhere(map, [](const MapCell& c) { return c.sends > 0 && !c.everVerified; });
    const auto notVerifiedLast = DevicesWhere(
        map, [](const MapCell& c) { return c.sends > 0 && c.state != DeviceState::kVerified; });
    const auto changed = DevicesWhere(map, [](const MapCell& c) { return c.sentDifferentValues; });
    const auto silent =
        DevicesWhere(map, [](const MapCell& c) { return c.state == DeviceState::kNoReport; });
    const auto failed =
        DevicesWhere(map, [](const MapCell& c) { return c.state == DeviceState::kPortFailure; });
    QStringList modem;
    for (int param = 1; param <= kModemParamCount; ++param) {
        const MapCell& cell = map.ModemParam(param);
        if (cell.sends > 0 && cell.state != DeviceState::kVerified) {
            modem << Text(ParameterOfModemNumber(param)->name);
        }
    }
    return "<h2>Anomalies</h2><ul>" + Item("IDs jamais vérifiés", IdList(neverVerified)) +
           Item("IDs non vérifiés à leur dernier échange", IdList(notVerifiedLast)) +
           Item("IDs programmés plusieurs fois avec des valeurs différentes", IdList(changed)) +
           Item("Appareils silencieux", IdList(silent)) + Item("Échecs de port", IdList(failed)) +
           Item("Paramètres du modem non confirmés",
                modem.isEmpty() ? QString::fromUtf8("aucun") : modem.join(", ")) +
           OnSeveralMachines(map) + "</ul>";
}

QString CReportDocument::Rows() const {
    const QString head = QString::fromUtf8(
        "<table width=\"100%\" cellspacing=\"0\"><thead><tr>"
        "<th width=\"11%\">ID</th><th width=\"16%\">État</th>"
        "<th width=\"12%\">Date et heure</th><th width=\"15%\">Valeurs envoyées</th>"
        "<th width=\"15%\">Valeurs lues</th><th width=\"12%\">Verdict</th>"
        "<th width=\"19%\">Message</th></tr></thead><tbody>");
    const QString tail = QStringLiteral("</tbody></table>");
    QStringList rows;
    for (int id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        rows << Row(QString::number(id), map.Device(id));
    }
    for (int param = 1; param <= kModemParamCount; ++param) {
        rows << Row(Text(ModemName(param)), map.ModemParam(param));
    }
    QString html = QString::fromUtf8("<h2>Détail par ID</h2>");
    for (qsizetype at = 0; at < rows.size(); at += kRowsPerTable) {
        html += head + rows.mid(at, kRowsPerTable).join(QString()) + tail;
    }
    return html;
}

QString CReportDocument::Row(const QString& name, const MapCell& cell) const {
    const QString state = CellText(StateMark(cell.state) + " " + StateWords(cell));
    if (!cell.last) {
        return "<tr><td>" + name + "</td><td>" + state +
               "</td><td></td><td></td><td></td>"
               "<td></td><td></td></tr>";
    }
    const JournalEntry& last = *cell.last;
    return "<tr><td>" + name + "</td><td>" + state + "</td><td>" + DateAndTime(last) + "</td><td>" +
           SentValues(cell) + "</td><td>" + ReadValues(last) + "</td><td>" +
           CellText(last.verdict) + "</td><td>" + CellText(last.message) + "</td></tr>";
}
