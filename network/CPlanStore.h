#pragma once

#include <string>

#include "PlanReader.h"
#include "SitePlan.h"

// Where each network's plan is kept: one file per network in a folder of the user's data,
// replaced whole by a new import and never left half-written.
class CPlanStore {
public:
    explicit CPlanStore(std::string folder);
    // The plans' folder beside a journal folder: "<journal>/plans"; empty for an empty one.
    static std::string FolderBeside(const std::string& journalFolder);

    // "<folder>/<network, every byte but letters, digits, - and _ as %XX>.csv"; a name too
    // long for a file is cut and told apart by a hash of the whole.
    std::string PathOf(const std::string& network) const;

    // FILE_OK or an errno / FileStatus refusal.
    int Save(const SitePlan& plan) const;
    // FILE_OK with `plan` filled; ENOENT when the network has no plan; an errno or refusal
    // otherwise. A stored file that no longer reads as a plan of that network is EINVAL.
    int Load(const std::string& network, SitePlan& plan) const;

    const std::string& Folder() const { return folder; }

private:
    std::string folder;
};
