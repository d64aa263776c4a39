#pragma once

#include <ostream>
#include <string>

#include "CliRequest.h"

// The report command: reads the network's journal from every folder given (the user's own
// by default), merged by time, and writes the acceptance report. Needs no display.
class CCliReport {
public:
    CCliReport(std::ostream& out, std::ostream& err, std::string defaultFolder);

    // 0 written; 2 unknown network or a file that is neither .pdf nor .html; 3 not written
    // (a write error, a link at the name, or a file already there without --replace).
    int Run(const CliRequest& request);

private:
    std::ostream& out;
    std::ostream& err;
    std::string defaultFolder;
};
