#include "CCliReport.h"

#include <cerrno>
#include <utility>

#ifdef ZAV_HAVE_REPORT
#include <QGuiApplication>

#include "CJournalReader.h"
#include "CPlanStore.h"
#include "CliOptions.h"
#include "FileStatus.h"
#include "PlanFileReading.h"
#include "WriteReport.h"
#endif

namespace {

using CliOptions::kExitNotWritten;
using CliOptions::kProgram;

#ifdef ZAV_HAVE_REPORT
// The report draws text, which needs Qt's font machinery, not a screen.
void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "zav7305-cli";
    static char* argv[] = {name, nullptr};
    // Kept for the whole run: Qt's font caches outlive one report.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

std::string Joined(const std::vector<std::string>& folders) {
    std::string text;
    for (const std::string& folder : folders) {
        text += (text.empty() ? "" : ", ") + folder;
    }
    return text.empty() ? "aucun" : text;
}
#endif

}  // namespace

CCliReport::CCliReport(std::ostream& out, std::ostream& err, std::string defaultFolder)
    : out(out), err(err), defaultFolder(std::move(defaultFolder)) {}

#ifdef ZAV_HAVE_REPORT
// The file given with --plan, or else the network's stored plan; false when the file given
// cannot be used (the reasons said), so that no report is made against a wrong plan.
bool CCliReport::FindPlan(const CliRequest& request, std::optional<SitePlan>& plan) {
    const std::string& network = *request.network;
    if (request.planFile) {
        SitePlan read;
        if (!ReadPlanFile(*request.planFile, read, err)) {
            return false;
        }
        if (read.Facts().network != network) {
            err << kProgram << " : " << *request.planFile << " : ce plan est celui du réseau "
                << read.Facts().network << ", pas de " << network << ".\n";
            return false;
        }
        plan = std::move(read);
        return true;
    }
    SitePlan stored;
    const int loaded = CPlanStore(CPlanStore::FolderBeside(defaultFolder)).Load(network, stored);
    if (loaded == FILE_OK) {
        out << "Plan du réseau : "
            << CPlanStore(CPlanStore::FolderBeside(defaultFolder)).PathOf(network) << "\n";
        plan = std::move(stored);
    } else if (loaded != ENOENT) {
        err << kProgram << " : plan enregistré du réseau illisible, laissé de côté : "
            << FileStatusReason(loaded) << "\n";
    }
    return true;
}

int CCliReport::Run(const CliRequest& request) {
    const std::vector<std::string> folders =
        request.journals.empty() ? std::vector<std::string>{defaultFolder} : request.journals;
    JournalScan scan = ReadJournal(folders, *request.network);
    for (const std::string& folder : scan.unreadableFolders) {
        err << kProgram << " : dossier de journal illisible : " << folder << "\n";
    }
    out << "Dossiers lus : " << Joined(scan.folders) << "\n";
    out << "Lignes ignorées : " << scan.skippedLines << "\n";
    if (!scan.unreadableFiles.empty()) {
        out << "Fichiers illisibles, laissés de côté : " << Joined(scan.unreadableFiles) << "\n";
    }
    std::optional<SitePlan> plan;
    if (!FindPlan(request, plan)) {
        return 2;
    }
    EnsureGuiApplication();
    ReportSite site;
    site.technician = request.technician.value_or(std::string());
    ReportInput input = ReportInputOf(*request.network, std::move(scan), std::move(site));
    if (plan) {
        JudgeAgainstPlan(input, std::move(*plan));
    }
    std::string error;
    const int status = WriteReport(
        input, *request.out, error,
        request.replace ? CReplacingFile::Mode::kReplace : CReplacingFile::Mode::kCreateOnly);
    if (status == REPORT_EXISTS) {
        error += " Ajoutez --replace pour le remplacer.";
    }
    if (status != REPORT_OK) {
        err << kProgram << " : " << error << "\n";
        return status == REPORT_WRITE_FAILED || status == REPORT_EXISTS ? kExitNotWritten : 2;
    }
    out << "Rapport écrit : " << *request.out << " (" << input.entries.size() << " échanges)\n";
    return 0;
}
#else
int CCliReport::Run(const CliRequest&) {
    err << kProgram << " : cette version a été construite sans le rapport (Qt Gui absent).\n";
    return kExitNotWritten;
}
#endif
