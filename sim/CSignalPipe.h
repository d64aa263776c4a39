#pragma once

#include "CFileDescriptor.h"

// Turns SIGINT, SIGTERM and SIGHUP into a readable descriptor (the self-pipe trick), so the
// main loop can wait on signals with poll and do all of its clean-up outside the handler.
// SIGPIPE is ignored. One instance per process.
class CSignalPipe {
public:
    CSignalPipe() = default;
    ~CSignalPipe();
    CSignalPipe(const CSignalPipe&) = delete;
    CSignalPipe& operator=(const CSignalPipe&) = delete;

    bool Install();
    int ReadDescriptor() const { return readEnd.Get(); }
    // The first signal received so far, or 0.
    int Pending();

private:
    CFileDescriptor readEnd;
    CFileDescriptor writeEnd;
    int received = 0;
};
