#pragma once

#include <string>

// Owns one open terminal descriptor and, once taken, the exclusive use of its line.
// Releasing gives the line back (TIOCNXCL, lock) before closing, on every path.
class CTtyHandle {
public:
    CTtyHandle() = default;
    // Adopts a descriptor already taken exclusively (the channel keeps only the number).
    CTtyHandle(int fd, bool exclusive) : fd(fd), exclusive(exclusive) {}
    ~CTtyHandle();
    CTtyHandle(const CTtyHandle&) = delete;
    CTtyHandle& operator=(const CTtyHandle&) = delete;

    // Opens a terminal device without making it the controlling terminal; 0 or errno.
    int Open(const std::string& path);
    // Refuses the line to every other opener: the lock stops other programs (root too),
    // TIOCEXCL stops plain opens by other users; 0 or errno.
    int TakeExclusive();
    // Hands the descriptor over to the caller, who must later adopt it to release it.
    int Detach();
    // Gives the line back and closes the descriptor; 0 or the errno of close.
    int Close();

    int Get() const { return fd; }

private:
    int fd = -1;
    bool exclusive = false;
};
