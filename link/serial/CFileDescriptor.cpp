#include "CFileDescriptor.h"

#include <unistd.h>

CFileDescriptor::~CFileDescriptor() {
    Reset();
}

CFileDescriptor::CFileDescriptor(CFileDescriptor&& other) noexcept : descriptor(other.Release()) {}

CFileDescriptor& CFileDescriptor::operator=(CFileDescriptor&& other) noexcept {
    if (this != &other) {
        Reset(other.Release());
    }
    return *this;
}

int CFileDescriptor::Release() {
    const int fd = descriptor;
    descriptor = -1;
    return fd;
}

bool CFileDescriptor::Reset(int fd) {
    bool closed = true;
    if (descriptor >= 0) {
        // Linux releases the descriptor even when close reports EINTR: never retry.
        closed = ::close(descriptor) == 0;
    }
    descriptor = fd;
    return closed;
}
