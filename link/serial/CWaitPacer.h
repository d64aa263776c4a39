#pragma once

#include "CDeadline.h"

class IWaitService;

// Cuts one blocking wait into slices so that its service is served at least every
// IWaitService::kServeIntervalMs; without a service the wait is one slice, as it always was.
class CWaitPacer {
public:
    explicit CWaitPacer(IWaitService* service);

    // Where the current slice of a wait that ends at `end` stops.
    CDeadline SliceEnd(const CDeadline& end) const;
    // Serves when a serve is due; true when it served.
    bool ServeIfDue();
    bool Serves() const { return service != nullptr; }

private:
    IWaitService* service;
    CDeadline nextServe;
};
