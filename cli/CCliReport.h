#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "CliRequest.h"

#include "SitePlan.h"

// The report command: reads the network's journal from every folder given (the user's own
// by default), merged by time, and writes the acceptance report, against the plan given with
// --plan or else the network's plan kept beside the user's journal. Needs no display.
class CCliReport {
public:
    CCliReport(std::ostream& out, std::ostream& err, std::string defaultFolder);

    // 0 written; 2 unknown network, a file that is neither .pdf nor .html, or a --plan that is
    // refused or of another network; 3 not written
    // (a write error, a link at the name, or a file already there without --replace).
    int Run(const CliRequest& request);

private:
    bool FindPlan(const CliRequest& request, std::optional<SitePlan>& plan);

    std::ostream& out;
    std::ostream& err;
    std::string defaultFolder;
};
