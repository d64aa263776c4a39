#include "CExchangeWait.h"

CExchangeWait::CExchangeWait(IExchangeHost& host, WaitKind kind, uint32_t lengthMs)
    : host(host), kind(kind), end(lengthMs) {}

void CExchangeWait::ServeWait() {
    host.ServeWhileWaiting(kind, static_cast<uint32_t>(end.RemainingMs()));
}
