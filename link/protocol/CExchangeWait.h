#pragma once

#include <cstdint>

#include "CDeadline.h"
#include "IExchangeHost.h"
#include "IWaitService.h"

// One wait of a sequence as its host sees it: what is awaited and how long is left until the
// wait's deadline, counted on the monotonic clock the channel waits on.
class CExchangeWait final : public IWaitService {
public:
    CExchangeWait(IExchangeHost& host, WaitKind kind, uint32_t lengthMs);

    void ServeWait() override;

private:
    IExchangeHost& host;
    WaitKind kind;
    CDeadline end;
};
