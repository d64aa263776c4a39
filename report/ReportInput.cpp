#include "ReportInput.h"

#include <QString>
#include <QSysInfo>
#include <utility>

#include "CJournalReader.h"
#include "WriteReport.h"

ReportInput ReportInputOf(std::string network, JournalScan scan, ReportSite site) {
    ReportInput input;
    input.network = std::move(network);
    input.site = std::move(site);
    input.entries = std::move(scan.entries);
    input.folders = std::move(scan.folders);
    input.skippedLines = scan.skippedLines;
    input.toolVersion = ToolVersion();
    input.machineName = QSysInfo::machineHostName().toStdString();
    input.unreadableFolders = std::move(scan.unreadableFolders);
    input.unreadableFiles = std::move(scan.unreadableFiles);
    input.leftAside = std::move(scan.leftAside);
    return input;
}

void JudgeAgainstPlan(ReportInput& input, SitePlan plan) {
    input.site.client = plan.Facts().client;
    input.site.site = plan.Facts().site;
    input.site.address = plan.Facts().address;
    input.plan = std::move(plan);
}
