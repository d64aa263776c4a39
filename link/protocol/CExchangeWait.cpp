#include "CExchangeWait.h"

CExchangeWait::CExchangeWait(IExchangeHost& host, WaitKind kind, uint32_t lengthMs)
    : host(host), kind(kind), end(lengthMs) {}

int CExchangeWait::Wait(pollfd& port, const CDeadline& until) {
    return host.WaitServing(kind, port, until, end);
}
