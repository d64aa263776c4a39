#include "CVirtualPort.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "CPortDirectory.h"
#include "PortName.h"

namespace {

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string LinkTarget(const std::string& link) {
    char target[4096];
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof target) {
        return {};
    }
    return std::string(target, static_cast<size_t>(n));
}

// A link whose pseudo-terminal is gone was left by a device that died without clean-up.
bool IsDangling(const std::string& link) {
    struct stat target {};
    return ::stat(link.c_str(), &target) != 0 && errno == ENOENT;
}

bool MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, B19200);
    cfsetospeed(&settings, B19200);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

bool PrepareRuntimeFolder(const std::string& folder, std::string& error) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        return true;
    }
    if (errno != EEXIST) {
        error = SystemError("cannot create " + folder);
        return false;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        error = SystemError("cannot examine " + folder);
        return false;
    }
    // Anyone may create a folder in /tmp first; links put into a folder others can write
    // could be replaced by links to other devices, and the port list ignores such a folder.
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        error = folder + " is not a private folder of this user";
        return false;
    }
    return true;
}

CVirtualPort::~CVirtualPort() {
    Withdraw();
}

bool CVirtualPort::Open(std::string& error) {
    master.Reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master.IsValid()) {
        error = SystemError("posix_openpt");
        return false;
    }
    char name[256];
    if (::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0 ||
        ::ptsname_r(master.Get(), name, sizeof name) != 0) {
        error = SystemError("pseudo-terminal set-up");
        return false;
    }
    slavePath = name;
    slave.Reset(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!slave.IsValid()) {
        error = SystemError("cannot open " + slavePath);
        return false;
    }
    // Left in cooked mode the line discipline would echo our own replies back to us and
    // turn the carriage returns of --crlf into line feeds.
    if (!MakeRaw(slave.Get())) {
        error = SystemError("cannot set " + slavePath + " raw");
        return false;
    }
    const int flags = ::fcntl(master.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(master.Get(), F_SETFL, flags | O_NONBLOCK) != 0) {
        error = SystemError("fcntl");
        return false;
    }
    return true;
}

bool CVirtualPort::Announce(const std::string& folder, int32_t wanted, std::string& error) {
    if (!PrepareRuntimeFolder(folder, error)) {
        return false;
    }
    if (wanted != 0) {
        if (TryLink(folder, wanted, error)) {
            return true;
        }
        if (error.empty()) {
            error = PortName::Of(wanted) + " is already announced in " + folder;
        }
        return false;
    }
    for (int32_t n = CPortDirectory::kFirstVirtual; n <= CPortDirectory::kLastVirtual; ++n) {
        if (TryLink(folder, n, error)) {
            return true;
        }
        if (!error.empty()) {
            return false;
        }
    }
    error = "no free virtual port number in " + folder;
    return false;
}

// False with an empty error when the number is taken.
bool CVirtualPort::TryLink(const std::string& folder, int32_t candidate, std::string& error) {
    const std::string link = folder + "/" + PortName::Of(candidate);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (::symlink(slavePath.c_str(), link.c_str()) == 0) {
            linkPath = link;
            number = candidate;
            return true;
        }
        if (errno != EEXIST) {
            error = SystemError("cannot create " + link);
            return false;
        }
        if (attempt > 0 || !IsDangling(link) || ::unlink(link.c_str()) != 0) {
            return false;
        }
    }
    return false;
}

void CVirtualPort::Withdraw() {
    if (linkPath.empty()) {
        return;
    }
    if (LinkTarget(linkPath) == slavePath) {
        ::unlink(linkPath.c_str());
    }
    linkPath.clear();
}

void CVirtualPort::HangUp() {
    master.Reset();
    slave.Reset();
}

int CVirtualPort::UnreadBytes() const {
    int count = 0;
    return ::ioctl(slave.Get(), FIONREAD, &count) == 0 ? count : -1;
}
