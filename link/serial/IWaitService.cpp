#include "IWaitService.h"

int IWaitService::Poll(pollfd& port, const CDeadline& until) {
    const timespec left = until.Remaining();
    return ppoll(&port, 1, &left, nullptr);
}
