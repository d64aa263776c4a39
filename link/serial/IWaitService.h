#pragma once

#include <cstdint>

// Whoever runs a blocking wait may have duties of its own meanwhile (a window that must keep
// answering its desktop). A wait calls ServeWait at least every kServeIntervalMs and then
// goes on with exactly the time it had left. ServeWait must not use the channel.
class IWaitService {
public:
    static constexpr int64_t kServeIntervalMs = 100;

    virtual ~IWaitService() = default;
    virtual void ServeWait() = 0;
};
