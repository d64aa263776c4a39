#pragma once

#include <cstddef>
#include <string>

#include "CFileDescriptor.h"

// The PC's side of a simulated port, with plain POSIX calls and no purge, so that a test
// sees every byte the device puts on the line.
class CPcPeer {
public:
    bool Open(const std::string& path);
    void Close() { port.Reset(); }
    bool Send(const std::string& bytes);
    // Reads until `count` bytes have come or `timeoutMs` passed without a byte.
    std::string ReadBytes(size_t count, int timeoutMs = 3000);
    // Reads through the next line feed, or until `timeoutMs` passes without a byte.
    std::string ReadLine(int timeoutMs = 3000);
    // True when the device side hung up within `timeoutMs`.
    bool WaitHangUp(int timeoutMs);

private:
    // One byte, or nothing after `timeoutMs` (or a hang-up).
    bool ReadByte(char& byte, int timeoutMs);

    CFileDescriptor port;
};
