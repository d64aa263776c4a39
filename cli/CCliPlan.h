#pragma once

#include <ostream>
#include <string>

#include "CliRequest.h"

class SitePlan;

// The plan commands: check a plan file, import it as its network's plan, export a network as
// it stands in the plan's own format. The plans are kept beside the user's journal.
class CCliPlan {
public:
    CCliPlan(std::ostream& out, std::ostream& err, std::string journalFolder);

    // check: 0 good, 2 refused with every bad line on stderr. import: 0 kept, 2 refused,
    // 3 not written. export: 0 written, 2 unknown network, 3 not written.
    int Run(const CliRequest& request);

private:
    int Check(const std::string& path);
    int Import(const std::string& path);
    int Export(const CliRequest& request);
    void Describe(const char* what, const SitePlan& plan);

    std::ostream& out;
    std::ostream& err;
    std::string journalFolder;
};
