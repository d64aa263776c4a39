#include "CSignalPipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

volatile sig_atomic_t gWriteEnd = -1;

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnStopSignal(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    if (gWriteEnd >= 0) {
        // A full pipe already holds a wake-up; losing this byte loses nothing.
        [[maybe_unused]] const ssize_t n = ::write(gWriteEnd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

bool CSignalPipe::Install() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    readEnd.Reset(ends[0]);
    writeEnd.Reset(ends[1]);
    gWriteEnd = writeEnd.Get();

    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : kStopSignals) {
        if (sigaction(signalNumber, &action, nullptr) != 0) {
            return false;
        }
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    return sigaction(SIGPIPE, &ignore, nullptr) == 0;
}

int CSignalPipe::Pending() {
    unsigned char byte = 0;
    while (::read(readEnd.Get(), &byte, 1) == 1) {
        if (received == 0) {
            received = byte;
        }
    }
    return received;
}

CSignalPipe::~CSignalPipe() {
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    for (const int signalNumber : kStopSignals) {
        sigaction(signalNumber, &fallback, nullptr);
    }
    gWriteEnd = -1;
}
