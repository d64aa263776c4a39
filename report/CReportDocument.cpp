#include "CReportDocument.h"

#include <set>

#include "CMapPicture.h"
#include "MapTexts.h"
#include "NetworkTexts.h"
#include "Parameters.h"
#include "PlanRows.h"
#include "PlanStates.h"
#include "ReportHtml.h"
#include "ReportIncidents.h"
#include "ReportRows.h"
#include "ReportVerdict.h"
#include "ShownText.h"

using namespace ReportHtml;

namespace {

// A fact the site plan gives, or the technician typed, shown even when nobody gave it, so
// that a missing one is seen.
QString Fact(const std::string& value) {
    return value.empty() ? QString::fromUtf8("non renseigné") : Text(value);
}

QString Names(const std::vector<std::string>& names) {
    QStringList texts;
    for (const std::string& name : names) {
        texts << Text(name);
    }
    return texts.isEmpty() ? QString::fromUtf8("aucun") : texts.join(", ");
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

template <class Test>
std::vector<std::string> ModemWhere(const CNetworkMap& map, Test test) {
    std::vector<std::string> names;
    for (int param = 1; param <= kModemParamCount; ++param) {
        if (test(map.ModemParam(param))) {
            names.push_back(ParameterOfModemNumber(param)->name);
        }
    }
    return names;
}

bool Unconfirmed(const MapCell& cell) {
    return cell.sends > 0 && cell.state != DeviceState::kVerified;
}

}  // namespace

CReportDocument::CReportDocument(const ReportInput& input) : input(input), map(input.network) {
    map.Add(input.entries);
    map.CountSkipped(input.skippedLines);
    const bool countKnown = map.RepeaterCount() >= 0;
    repeaterCount = countKnown || !input.plan ? std::max(0, map.RepeaterCount())
                                              : input.plan->Facts().repeaterCount;
}

const SitePlan* CReportDocument::Plan() const {
    return input.plan ? &*input.plan : nullptr;
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
    html += Cover();
    html += "<h2>Carte du réseau</h2><p><img src=\"" + mapSource + "\" width=\"661\"></p>";
    html += (Plan() != nullptr ? PlanCounts() : Counts()) + Anomalies() +
            (Plan() != nullptr ? PlanRows(*Plan(), map) : DetailRows(map)) + IncidentHistory(map) +
            Signatures() + Provenance();
    return html + "</body></html>";
}

QString CReportDocument::Cover() const {
    std::set<std::string> roles;
    for (const JournalEntry& entry : input.entries) {
        roles.insert(entry.role);
    }
    const NetworkVerdict verdict = JudgeNetwork(map, Plan());
    const ReportSite& site = input.site;
    return "<ul>" + Item("Client", Fact(site.client)) + Item("Site", Fact(site.site)) +
           Item("Adresse", Fact(site.address)) + Item("Réseau", Text(input.network)) +
           Item("Technicien", Fact(site.technician)) +
           Item("Premier échange", DateAndTime(input.entries.front())) +
           Item("Dernier échange", DateAndTime(input.entries.back())) +
           Item("Rôles", Names({roles.begin(), roles.end()})) + "</ul>" + "<p><b>" +
           QString::fromUtf8("Verdict d'ensemble : ") + Text(verdict.Words()) + "</b></p><ul>" +
           Item("Non conformes", Names(verdict.failing)) +
           Item("Réserves", Names(verdict.reserved)) + "</ul>";
}

// Each band's and the modem's figures add up to the lists below: verified, to redo (the
// anomalies) and never sent (no row).
QString CReportDocument::Counts() const {
    return "<h2>Comptes</h2><p>" + Text(BandSummary(map, repeaterCount)) + "<br>" + ModemCount() +
           "</p>";
}

QString CReportDocument::ModemCount() const {
    int verified = 0;
    int toRedo = 0;
    for (int param = 1; param <= kModemParamCount; ++param) {
        const MapCell& cell = map.ModemParam(param);
        verified += cell.state == DeviceState::kVerified ? 1 : 0;
        toRedo += Unconfirmed(cell) ? 1 : 0;
    }
    QString modem = QString::fromUtf8("%1 %2/%3 paramètres vérifiés")
                        .arg(QString::fromUtf8(NetworkTexts::kModem))
                        .arg(verified)
                        .arg(kModemParamCount);
    if (toRedo > 0) {
        modem += QString::fromUtf8(", %1 à reprendre").arg(toRedo);
    }
    if (const int unsent = kModemParamCount - verified - toRedo; unsent > 0) {
        modem += QString::fromUtf8(", %1 non envoyés").arg(unsent);
    }
    return modem;
}

// Against the plan: conforme out of planned, by band and for the modem, then as many devices
// outside the plan and never done as the lists below hold.
QString CReportDocument::PlanCounts() const {
    const SitePlan& plan = *Plan();
    int outside = 0;
    int neverDone = 0;
    for (int id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        const bool planned = plan.Find(id) != nullptr;
        outside += !planned && map.Device(id).sends > 0 ? 1 : 0;
        neverDone += planned && map.Device(id).sends == 0 ? 1 : 0;
    }
    for (int param = 1; plan.Modem() && param <= kModemParamCount; ++param) {
        neverDone += map.ModemParam(param).sends == 0 ? 1 : 0;
    }
    return "<h2>Comptes</h2><p>" + Text(PlanSummary(plan, map)) + "<br>" +
           (plan.Modem() ? QString() : ModemCount() + "<br>") +
           QString::fromUtf8("Appareils hors plan : %1<br>Appareils du plan jamais faits : %2")
               .arg(outside)
               .arg(neverDone) +
           "</p>";
}

QString CReportDocument::Anomalies() const {
    const auto neverVerified =
        DevicesWhere(map, [](const MapCell& c) { return c.sends > 0 && !c.everVerified; });
    const auto notVerifiedLast = DevicesWhere(map, Unconfirmed);
    const auto changed = DevicesWhere(map, [](const MapCell& c) { return c.sentDifferentValues; });
    const auto silent = DevicesWhere(map, [](const MapCell& c) {
        return c.state == DeviceState::kNoReport || c.state == DeviceState::kCancelled;
    });
    const auto failed =
        DevicesWhere(map, [](const MapCell& c) { return c.state == DeviceState::kPortFailure; });
    const auto unsent = ModemWhere(map, [](const MapCell& c) { return c.sends == 0; });
    return "<h2>Anomalies</h2><ul>" + Item("IDs jamais vérifiés", IdList(neverVerified)) +
           Item("IDs non vérifiés à leur dernier échange", IdList(notVerifiedLast)) +
           Item("IDs programmés plusieurs fois avec des valeurs différentes", IdList(changed)) +
           Item("Appareils silencieux", IdList(silent)) + Item("Échecs de port", IdList(failed)) +
           Item("Paramètres du modem non confirmés", Names(ModemWhere(map, Unconfirmed))) +
           Item("Paramètres du modem jamais envoyés", Names(unsent)) + OnSeveralMachines(map) +
           "</ul>";
}

// One row of two boxes with room to sign in; a row is never cut between two pages.
QString CReportDocument::Signatures() const {
    const QString box = QString::fromUtf8(
        "<td width=\"50%\" valign=\"top\"><b>%1</b><br>%2<br>Date et signature :"
        "<br><br><br><br><br><br></td>");
    return QString::fromUtf8("<h2>Signatures</h2>") +
           "<table width=\"100%\" cellspacing=\"0\"><tr>" +
           box.arg(QString::fromUtf8("Le technicien"), Fact(input.site.technician)) +
           box.arg(QString::fromUtf8("Le client"), Fact(input.site.client)) + "</tr></table>";
}

QString CReportDocument::Provenance() const {
    return QString::fromUtf8("<h2>Provenance</h2><ul>") +
           Item("Dossiers du journal lus", Names(input.folders)) +
           Item("Échanges", QString::number(input.entries.size())) +
           Item("Lignes ignorées", QString::number(input.skippedLines)) + Unread() +
           Item("Version de l'outil", Text(input.toolVersion)) +
           Item("Machine", Text(input.machineName)) + "</ul>";
}

// Said only when something was left out.
QString CReportDocument::Unread() const {
    QString items;
    if (!input.unreadableFolders.empty()) {
        items += Item("Dossiers du journal illisibles", Names(input.unreadableFolders));
    }
    if (!input.unreadableFiles.empty()) {
        items += Item("Fichiers du journal illisibles", Names(input.unreadableFiles));
    }
    if (!input.leftAside.empty()) {
        items += Item(
            "Fichiers laissés de côté (copies de synchronisation, fichiers temporaires ou "
            "étrangers)",
            Names(input.leftAside));
    }
    return items;
}
