#include "ReadOwnFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "CFileDescriptor.h"
#include "FileStatus.h"

namespace {

int Refusal(int err) {
    // O_NOFOLLOW says ELOOP for a link at the name.
    return err == ELOOP ? FILE_REFUSED_SYMLINK : (err != 0 ? err : EIO);
}

}  // namespace

int ReadOwnFile(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    // O_NONBLOCK: opening a FIFO waits for a writer otherwise; judged by what was opened.
    const CFileDescriptor file(
        ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    if (!file.IsValid()) {
        return Refusal(errno);
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        return Refusal(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return FILE_REFUSED_NOT_REGULAR;
    }
    char chunk[4096];
    while (true) {
        const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Refusal(errno);
        }
        if (got == 0) {
            return FILE_OK;
        }
        if (bytes.size() + static_cast<size_t>(got) > limit) {
            bytes.clear();
            return FILE_REFUSED_TOO_LONG;
        }
        bytes.append(chunk, static_cast<size_t>(got));
    }
}
