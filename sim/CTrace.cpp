#include "CTrace.h"

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

std::string Now() {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    tm local{};
    localtime_r(&tv.tv_sec, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<long>(tv.tv_usec / 1000));
    return text;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string_view WithoutFinalLineFeed(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

bool CTrace::OpenLog(const std::string& path, std::string& error) {
    log.Reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600));
    if (!log.IsValid()) {
        error = "cannot open log " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void CTrace::Received(std::string_view line) {
    if (log.IsValid() && !WriteAll(log.Get(), line)) {
        Event(std::string("log write failed: ") + std::strerror(errno));
    }
    Timestamped("RX ", Escape(WithoutFinalLineFeed(line)));
}

void CTrace::Sent(std::string_view bytes) {
    Timestamped("TX ", Escape(WithoutFinalLineFeed(bytes)));
}

void CTrace::Event(std::string_view text) {
    Timestamped("-- ", text);
}

void CTrace::Plain(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void CTrace::Timestamped(std::string_view tag, std::string_view text) {
    Plain(Now() + " " + std::string(tag) + std::string(text));
}

std::string CTrace::Escape(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\\') {
            text += "\\\\";
        } else if (byte < 0x20 || byte > 0x7E) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            text += hex;
        } else {
            text += c;
        }
    }
    return text;
}
