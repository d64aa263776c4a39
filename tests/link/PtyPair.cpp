#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>

PtyPair::PtyPair() {
    char name[PATH_MAX] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&masterFd, &slaveFd, name, &raw, nullptr) != 0) {
        masterFd = -1;
        slaveFd = -1;
        return;
    }
    slavePath = name;
    for (int fd : {masterFd, slaveFd}) {
        const int flags = fcntl(fd, F_GETFD);
        if (flags >= 0) {
            fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
        }
    }
}

PtyPair::~PtyPair() {
    CloseMaster();
    CloseSlave();
}

bool PtyPair::WriteMaster(const std::string& data) const {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(masterFd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string PtyPair::ReadMaster(size_t count, int timeoutMs) const {
    std::string out;
    while (out.size() < count) {
        pollfd p{masterFd, POLLIN, 0};
        const int ready = poll(&p, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || (p.revents & POLLIN) == 0) {
            break;
        }
        char chunk[256];
        const size_t want = std::min(sizeof chunk, count - out.size());
        const ssize_t n = read(masterFd, chunk, want);
        if (n <= 0) {
            break;
        }
        out.append(chunk, static_cast<size_t>(n));
    }
    return out;
}

bool PtyPair::WaitSlaveTaken(int timeoutMs) const {
    const auto start = std::chrono::steady_clock::now();
    constexpr auto kArrival = std::chrono::milliseconds(50);
    bool arrived = false;
    for (;;) {
        int queued = 0;
        if (ioctl(slaveFd, FIONREAD, &queued) != 0) {
            return false;
        }
        arrived = arrived || queued > 0;
        const auto waited = std::chrono::steady_clock::now() - start;
        if (queued == 0 && (arrived || waited >= kArrival)) {
            return true;
        }
        if (waited >= std::chrono::milliseconds(timeoutMs)) {
            return false;
        }
        poll(nullptr, 0, 1);
    }
}

bool PtyPair::WaitSlaveInput(size_t count, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int queued = 0;
        if (ioctl(slaveFd, FIONREAD, &queued) != 0) {
            return false;
        }
        if (static_cast<size_t>(queued) >= count) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        // Input moves from master to slave in a kernel work item; nothing signals that
        // all of it arrived, so look again shortly.
        poll(nullptr, 0, 1);
    }
}

std::string PtyPair::DrainMaster() const {
    return ReadMaster(SIZE_MAX, 0);
}

void PtyPair::CloseMaster() {
    if (masterFd >= 0) {
        close(masterFd);
        masterFd = -1;
    }
}

void PtyPair::CloseSlave() {
    if (slaveFd >= 0) {
        close(slaveFd);
        slaveFd = -1;
    }
}
