#include "CJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace {

constexpr char kSubfolder[] = "zav7305";
constexpr mode_t kFolderMode = 0755;
constexpr mode_t kFileMode = 0644;

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

// mkdir -p; 0 or errno.
int MakeFolders(const std::string& path) {
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') {
            continue;
        }
        const std::string part = path.substr(0, at);
        if (::mkdir(part.c_str(), kFolderMode) != 0 && errno != EEXIST) {
            return errno;
        }
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno;
    }
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

// Holds an flock for one scope.
class FileLock {
public:
    explicit FileLock(int fd) : fd(fd) {
        int result = ::flock(fd, LOCK_EX);
        while (result != 0 && errno == EINTR) {
            result = ::flock(fd, LOCK_EX);
        }
        locked = result == 0;
    }
    ~FileLock() {
        if (locked) {
            ::flock(fd, LOCK_UN);
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Locked() const { return locked; }

private:
    int fd;
    bool locked = false;
};

// Offset just after the last line feed at or before `size`, 0 when there is none.
off_t EndOfLastLine(int fd, off_t size) {
    std::array<char, 4096> chunk{};
    off_t end = size;
    while (end > 0) {
        const off_t start =
            end > static_cast<off_t>(chunk.size()) ? end - static_cast<off_t>(chunk.size()) : 0;
        const ssize_t n = ::pread(fd, chunk.data(), static_cast<size_t>(end - start), start);
        if (n <= 0) {
            return -1;
        }
        for (ssize_t i = n; i > 0; --i) {
            if (chunk[static_cast<size_t>(i - 1)] == '\n') {
                return start + i;
            }
        }
        end = start;
    }
    return 0;
}

}  // namespace

CJournal::CJournal(std::string folder) : folder(std::move(folder)) {}

std::string CJournal::DefaultFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (IsAbsolute(data)) {
        return std::string(data) + "/" + kSubfolder;
    }
    const char* home = std::getenv("HOME");
    if (IsAbsolute(home)) {
        return std::string(home) + "/.local/share/" + kSubfolder;
    }
    return {};
}

std::string CJournal::PathFor(const timespec& when) const {
    return folder + "/" + JournalFormat::FileName(when);
}

int CJournal::Append(const JournalContext& context, const ExchangeRecord& record) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Append(context, record, now);
}

int CJournal::Append(const JournalContext& context, const ExchangeRecord& record,
                     const timespec& when) {
    if (folder.empty()) {
        lastError = ENOENT;
        return JOURNAL_NO_FOLDER;
    }
    const std::string path = PathFor(when);
    if (path != openPath || !file.IsValid()) {
        const int status = OpenFile(path);
        if (status != JOURNAL_OK) {
            return status;
        }
    }
    return Write(JournalFormat::RecordLine(context, record, when));
}

int CJournal::OpenFile(const std::string& path) {
    file.Reset();
    openPath.clear();
    if (const int err = MakeFolders(folder); err != 0) {
        lastError = err;
        return JOURNAL_NO_FOLDER;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, kFileMode);
    if (fd < 0) {
        lastError = errno;
        return JOURNAL_OPEN_FAILED;
    }
    file.Reset(fd);
    openPath = path;
    return JOURNAL_OK;
}

bool CJournal::PrepareTail(std::string& prefix) {
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        return false;
    }
    if (info.st_size == 0) {
        prefix = JournalFormat::HeaderLine();
        return true;
    }
    char last = '\n';
    if (::pread(file.Get(), &last, 1, info.st_size - 1) != 1) {
        return false;
    }
    if (last == '\n') {
        return true;
    }
    const off_t keep = EndOfLastLine(file.Get(), info.st_size);
    if (keep < 0 || ::ftruncate(file.Get(), keep) != 0) {
        return false;
    }
    if (keep == 0) {
        prefix = JournalFormat::HeaderLine();
    }
    return true;
}

int CJournal::Write(const std::string& line) {
    if (!WriteLocked(line)) {
        return Fail(JOURNAL_WRITE_FAILED);
    }
    lastError = 0;
    return JOURNAL_OK;
}

bool CJournal::WriteLocked(const std::string& line) {
    const FileLock lock(file.Get());
    std::string prefix;
    if (!lock.Locked() || !PrepareTail(prefix)) {
        return false;
    }
    // One write for the whole record: O_APPEND puts it at the end in one piece.
    const std::string bytes = prefix + line;
    const ssize_t n = ::write(file.Get(), bytes.data(), bytes.size());
    if (n != static_cast<ssize_t>(bytes.size())) {
        if (n >= 0) {
            errno = ENOSPC;
        }
        return false;
    }
    return ::fdatasync(file.Get()) == 0;
}

int CJournal::Fail(int status) {
    lastError = errno != 0 ? errno : EIO;
    // The next record opens the file afresh: the folder may have been fixed meanwhile.
    file.Reset();
    openPath.clear();
    return status;
}
