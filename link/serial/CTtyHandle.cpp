#include "CTtyHandle.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

CTtyHandle::~CTtyHandle() {
    Close();
}

int CTtyHandle::Open(const std::string& path) {
    Close();
    const int opened = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0) {
        return errno;
    }
    fd = opened;
    if (!isatty(fd)) {
        const int err = errno;
        Close();
        return err;
    }
    return 0;
}

int CTtyHandle::TakeExclusive() {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return errno;
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        const int err = errno;
        flock(fd, LOCK_UN);
        return err;
    }
    exclusive = true;
    return 0;
}

int CTtyHandle::Detach() {
    exclusive = false;
    return std::exchange(fd, -1);
}

int CTtyHandle::Close() {
    if (fd < 0) {
        return 0;
    }
    if (exclusive) {
        // TIOCEXCL belongs to the line, not to this descriptor: left set, it would lock
        // out our own next opening of the same port.
        ioctl(fd, TIOCNXCL);
        flock(fd, LOCK_UN);
        exclusive = false;
    }
    // The descriptor is gone whatever close answers; it must never be closed twice.
    const int result = close(std::exchange(fd, -1));
    return result == 0 ? 0 : errno;
}
