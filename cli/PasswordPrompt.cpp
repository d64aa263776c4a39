#include "PasswordPrompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "CFileDescriptor.h"

namespace {

// Echo off for one scope.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd(fd) {
        if (::tcgetattr(fd, &saved) != 0) {
            return;
        }
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~(ECHO | ECHOE | ECHOK | ECHONL));
        active = ::tcsetattr(fd, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active) {
            ::tcsetattr(fd, TCSAFLUSH, &saved);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool Active() const { return active; }

private:
    int fd;
    termios saved{};
    bool active = false;
};

void WriteAll(int fd, const char* text) {
    size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(fd, text, left);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        text += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace

std::optional<std::string> AskPasswordOnTerminal(const char* prompt) {
    const CFileDescriptor tty(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!tty.IsValid()) {
        return std::nullopt;
    }
    std::string password;
    {
        // Echo goes off before the prompt shows, so nothing typed after it is ever echoed
        // or flushed away.
        const EchoOff quiet(tty.Get());
        if (!quiet.Active()) {
            return std::nullopt;
        }
        WriteAll(tty.Get(), prompt);
        char c = 0;
        for (;;) {
            const ssize_t n = ::read(tty.Get(), &c, 1);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0 || c == '\n' || c == '\r') {
                break;
            }
            password += c;
        }
    }
    WriteAll(tty.Get(), "\n");
    return password;
}
