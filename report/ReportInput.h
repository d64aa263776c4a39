#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "JournalEntry.h"
#include "SitePlan.h"

struct JournalScan;

// Who the work was done for and by: the first page's facts. Client, site and address come
// from the network's site plan and stay empty without one; the technician is asked when the
// report is made.
struct ReportSite {
    std::string client;
    std::string site;
    std::string address;
    std::string technician;
};

// What an acceptance report is made from: one network's journal entries in time order.
struct ReportInput {
    std::string network;
    std::vector<JournalEntry> entries;
    std::vector<std::string> folders;  // the journal folders read
    size_t skippedLines = 0;
    std::string toolVersion;  // of the tool writing the report, e.g. "1.4.0.0"
    std::string machineName;  // the machine it is written on
    // What could not be read, and so is not in the report: folders, and day files (links,
    // FIFOs, files refused by the system).
    std::vector<std::string> unreadableFolders;
    std::vector<std::string> unreadableFiles;
    // The folders' files that are no journal files, never read: sync tools' copies and others.
    std::vector<std::string> leftAside;
    ReportSite site;
    // The network's site plan, when it has one: the report then judges every planned device.
    std::optional<SitePlan> plan;
};

// The report of `network` from what the journal holds of it, written by this build on this
// machine.
ReportInput ReportInputOf(std::string network, JournalScan scan, ReportSite site = {});

// The report judged against `plan`: its client, site and address go on the first page.
void JudgeAgainstPlan(ReportInput& input, SitePlan plan);

enum ReportStatus : int {
    REPORT_OK = 0,
    REPORT_UNKNOWN_NETWORK = 2,  // no exchange of the network in the journal
    REPORT_BAD_EXTENSION = 3,    // neither .pdf nor .html, or nothing before the extension
    REPORT_WRITE_FAILED = 4,
    REPORT_EXISTS = 5,  // a file of that name was to be kept
};
