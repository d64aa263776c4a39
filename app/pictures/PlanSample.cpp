#include "PlanSample.h"

#include <cstdio>
#include <ctime>

#include "CJournal.h"
#include "CPlanStore.h"
#include "FileStatus.h"
#include "Frames.h"
#include "PlanReader.h"

namespace PlanSample {

namespace {

constexpr char kPlan[] =
    "réseau;Station Les Saules\n"
    "client;Régie des eaux du Val\n"
    "site;Station de pompage Les Saules\n"
    "adresse;12 chemin des Écluses 38000 Grenoble\n"
    "répéteurs;2\n"
    "id;rôle;désignation;emplacement;CHF;OFT;P0;PRT;TYP\n"
    "1;répéteur;Relais toit;Toiture;12;100;60;0;3\n"
    "2;répéteur;Relais galerie;Galerie technique;12;100;60;0;3\n"
    "3;capteur;Pompe 1;Local pompes;12;100;30;1;P\n"
    "4;capteur;Niveau bâche;Bâche d'eau brute;12;100;30;1;N\n"
    "5;capteur;Débit sortie;Conduite de refoulement;12;100;30;1;D\n"
    "6;capteur;Porte local;Entrée;12;100;120;0;C\n"
    "0;modem;Modem du poste;Armoire de télégestion;12;100;20;0;255\n";

// A send of the plan's values to `id`, read back with `chfRead` for CHF.
ExchangeRecord Sent(const PlannedDevice& device, int32_t chfRead) {
    ExchangeRecord record;
    record.kind = ExchangeKind::SendConfig;
    record.portNumber = 900;
    record.devicePath = "/dev/pts/3";
    record.sentConfig = device.values;
    record.command = BuildConfigFrame(device.values).value_or("");
    record.bytesSent = record.command + "\nu\n";
    char report[48];
    std::snprintf(report, sizeof report, "%s010203V14%03d%03d%03d%03d%03d%s00\n",
                  device.role == PlanRole::kRepeater ? "TM" : "LC", device.id, chfRead,
                  device.values.OFT, device.values.P0, device.values.PRT,
                  device.values.TYP.c_str());
    record.report = report;
    return record;
}

}  // namespace

bool StorePlan(const std::string& journalFolder) {
    const PlanReading reading = PlanReader::Read(kPlan);
    return reading.plan &&
           CPlanStore(CPlanStore::FolderBeside(journalFolder)).Save(*reading.plan) == FILE_OK;
}

bool JournalMorning(const std::string& journalFolder) {
    const PlanReading reading = PlanReader::Read(kPlan);
    if (!reading.plan) {
        return false;
    }
    CJournal journal(journalFolder);
    const JournalContext repeaters{"Administateur", "Répéteur", "COM900", kNetwork, kRepeaters};
    const JournalContext sensors{"Administateur", "Capteur", "COM900", kNetwork, kRepeaters};
    timespec when{};
    ::clock_gettime(CLOCK_REALTIME, &when);
    when.tv_sec -= 3600;
    const std::pair<int32_t, int32_t> sends[] = {{1, 12}, {2, 12}, {3, 12}, {4, 14}};
    bool written = true;
    for (const auto& [id, chf] : sends) {
        when.tv_sec += 120;
        const PlannedDevice& device = *reading.plan->Find(id);
        const JournalContext& context = device.role == PlanRole::kRepeater ? repeaters : sensors;
        written = journal.Append(context, Sent(device, chf), when) == JOURNAL_OK && written;
    }
    return written;
}

}  // namespace PlanSample
