#include "CWaitPacer.h"

#include <cstdint>
#include <limits>

#include "IWaitService.h"

CWaitPacer::CWaitPacer(IWaitService* service)
    : service(service),
      nextServe(service != nullptr ? CDeadline(IWaitService::kServeIntervalMs)
                                   : CDeadline::AtNs(std::numeric_limits<int64_t>::max())) {}

CDeadline CWaitPacer::SliceEnd(const CDeadline& end) const {
    return CDeadline::Earlier(end, nextServe);
}

bool CWaitPacer::ServeIfDue() {
    if (service == nullptr || !nextServe.Expired()) {
        return false;
    }
    service->ServeWait();
    // Counted from the end of the serve: a slow serve must not make the next one due at once.
    nextServe = CDeadline(IWaitService::kServeIntervalMs);
    return true;
}
