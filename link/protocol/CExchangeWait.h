#pragma once

#include <cstdint>

#include "CDeadline.h"
#include "IExchangeHost.h"
#include "IWaitService.h"

// One wait of a sequence as its host sees it: what is awaited and where the whole wait ends,
// on the monotonic clock the channel waits on.
class CExchangeWait final : public IWaitService {
public:
    CExchangeWait(IExchangeHost& host, WaitKind kind, uint32_t lengthMs);

    int Wait(pollfd& port, const CDeadline& until) override;

private:
    IExchangeHost& host;
    WaitKind kind;
    CDeadline end;
};
