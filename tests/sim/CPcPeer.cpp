#include "CPcPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

bool CPcPeer::Open(const std::string& path) {
    port.Reset(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    termios settings{};
    if (!port.IsValid() || tcgetattr(port.Get(), &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    return tcsetattr(port.Get(), TCSANOW, &settings) == 0;
}

bool CPcPeer::Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(port.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return false;
        }
        done += n > 0 ? static_cast<size_t>(n) : 0;
    }
    return true;
}

bool CPcPeer::ReadByte(char& byte, int timeoutMs) {
    pollfd fd{port.Get(), POLLIN, 0};
    while (::poll(&fd, 1, timeoutMs) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return (fd.revents & POLLIN) != 0 && ::read(port.Get(), &byte, 1) == 1;
}

std::string CPcPeer::ReadBytes(size_t count, int timeoutMs) {
    std::string bytes;
    char byte = 0;
    while (bytes.size() < count && ReadByte(byte, timeoutMs)) {
        bytes += byte;
    }
    return bytes;
}

std::string CPcPeer::ReadLine(int timeoutMs) {
    std::string bytes;
    char byte = 0;
    while ((bytes.empty() || bytes.back() != '\n') && ReadByte(byte, timeoutMs)) {
        bytes += byte;
    }
    return bytes;
}

bool CPcPeer::WaitHangUp(int timeoutMs) {
    pollfd fd{port.Get(), POLLIN, 0};
    char byte = 0;
    for (;;) {
        if (::poll(&fd, 1, timeoutMs) <= 0) {
            return false;
        }
        if ((fd.revents & (POLLHUP | POLLERR)) != 0) {
            return true;
        }
        const ssize_t n = ::read(port.Get(), &byte, 1);
        if (n == 0 || (n < 0 && errno == EIO)) {
            return true;
        }
    }
}
