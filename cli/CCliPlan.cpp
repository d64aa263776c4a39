#include "CCliPlan.h"

#include <cerrno>
#include <utility>

#include "AsBuiltPlan.h"
#include "CJournalReader.h"
#include "CNetworkMap.h"
#include "CPlanStore.h"
#include "CReplacingFile.h"
#include "CliOptions.h"
#include "FileStatus.h"
#include "PlanFileReading.h"
#include "PlanReader.h"
#include "PlanWriter.h"

namespace {

using CliOptions::kProgram;
constexpr int kExitRefused = 2;
using CliOptions::kExitNotWritten;

}  // namespace

CCliPlan::CCliPlan(std::ostream& out, std::ostream& err, std::string journalFolder)
    : out(out), err(err), journalFolder(std::move(journalFolder)) {}

int CCliPlan::Run(const CliRequest& request) {
    switch (request.command) {
        case CliCommand::kPlanCheck:
            return Check(*request.planFile);
        case CliCommand::kPlanImport:
            return Import(*request.planFile);
        default:
            return Export(request);
    }
}

// "Plan correct : réseau Station Nord, 2 répéteurs, 3 capteurs et le modem."
void CCliPlan::Describe(const char* what, const SitePlan& plan) {
    out << what << " : réseau " << plan.Facts().network << ", "
        << Counted(plan.Count(PlanRole::kRepeater), "répéteur", "répéteurs") << ", "
        << Counted(plan.Count(PlanRole::kSensor), "capteur", "capteurs")
        << (plan.Modem() ? " et le modem" : ", sans modem") << ".\n";
}

int CCliPlan::Check(const std::string& path) {
    SitePlan plan;
    if (!ReadPlanFile(path, plan, err)) {
        return kExitRefused;
    }
    Describe("Plan correct", plan);
    return 0;
}

int CCliPlan::Import(const std::string& path) {
    SitePlan plan;
    if (!ReadPlanFile(path, plan, err)) {
        return kExitRefused;
    }
    const CPlanStore store(CPlanStore::FolderBeside(journalFolder));
    if (const int status = store.Save(plan); status != FILE_OK) {
        err << kProgram << " : plan non enregistré : " << FileStatusReason(status) << "\n";
        return kExitNotWritten;
    }
    Describe("Plan importé", plan);
    out << "Enregistré : " << store.PathOf(plan.Facts().network) << "\n";
    return 0;
}

int CCliPlan::Export(const CliRequest& request) {
    const std::string& network = *request.network;
    const std::vector<std::string> folders =
        request.journals.empty() ? std::vector<std::string>{journalFolder} : request.journals;
    const JournalScan scan = ReadJournal(folders, network);
    if (scan.entries.empty()) {
        err << kProgram << " : aucun échange du réseau " << network << " dans le journal.\n";
        return kExitRefused;
    }
    CNetworkMap map(network);
    map.Add(scan.entries);
    SitePlan stored;
    const int loaded = CPlanStore(CPlanStore::FolderBeside(journalFolder)).Load(network, stored);
    if (loaded != FILE_OK && loaded != ENOENT) {
        err << kProgram << " : plan enregistré du réseau illisible, laissé de côté : "
            << FileStatusReason(loaded) << "\n";
    }
    const AsBuilt built = AsBuiltPlan(map, loaded == FILE_OK ? &stored : nullptr);
    for (const int32_t id : built.leftOut) {
        err << kProgram << " : ID " << id << " : pas de relecture complète, laissé hors du plan.\n";
    }
    if (built.modemLeftOut) {
        err << kProgram << " : modem : pas de relecture complète, laissé hors du plan.\n";
    }
    if (built.plan.Devices().empty() && !built.plan.Modem()) {
        err << kProgram << " : aucun appareil relu en entier : pas de plan à écrire.\n";
        return kExitRefused;
    }
    const std::string text = PlanText(built.plan);
    const int status = ReplaceFile(
        *request.out, text,
        request.replace ? CReplacingFile::Mode::kReplace : CReplacingFile::Mode::kCreateOnly);
    if (status != FILE_OK) {
        err << kProgram << " : " << *request.out << " : " << FileStatusReason(status)
            << (status == FILE_REFUSED_EXISTS ? ". Ajoutez --replace pour le remplacer." : "")
            << "\n";
        return kExitNotWritten;
    }
    Describe("Plan tel que construit écrit", built.plan);
    out << "Fichier : " << *request.out << "\n";
    return 0;
}
