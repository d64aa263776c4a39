#include "CJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <deque>
#include <string_view>
#include <utility>
#include <vector>

#include "JournalColumns.h"
#include "JournalParse.h"
#include "MakeFolders.h"

namespace {

using JournalFormat::IsAbsolute;
using JournalFormat::kFolderMode;
constexpr mode_t kFileMode = 0644;
// A day never needs more files than journal layouts have been: this only bounds the search.
constexpr int kMaxPartsPerDay = 16;

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

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

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

// Why the open file is not one the journal may write into, 0 when it is: only a regular file
// of the user's own that no other name shares, so that no record lands in someone else's file.
int RefusalOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return errno;
    }
    if (!S_ISREG(info.st_mode)) {
        return JOURNAL_REFUSED_NOT_REGULAR;
    }
    if (info.st_uid != ::geteuid()) {
        return JOURNAL_REFUSED_NOT_OWN;
    }
    return info.st_nlink == 1 ? 0 : JOURNAL_REFUSED_LINKED;
}

// Where the header starts: after a byte order mark that a program saving the file put first.
off_t HeaderStart(int fd) {
    std::array<char, 3> start{};
    const ssize_t n = ::pread(fd, start.data(), start.size(), 0);
    return n == 3 && std::string_view(start.data(), 3) == JournalFormat::kByteOrderMark ? 3 : 0;
}

// True when the file of `size` bytes starts with the header line, or holds no more than the
// beginning of a header cut short by a writer killed inside its first write.
bool StartsWithHeader(int fd, off_t start, off_t size) {
    const std::string header = JournalFormat::HeaderLine();
    const size_t wanted = std::min(static_cast<size_t>(size - start), header.size());
    std::string text(wanted, '\0');
    if (::pread(fd, text.data(), wanted, start) != static_cast<ssize_t>(wanted)) {
        return false;
    }
    return text == header.substr(0, wanted) &&
           (wanted == header.size() || static_cast<off_t>(wanted) == size - start);
}

// True when the file begins with a whole header line of the journal that is not today's: a
// journal written before its columns changed.
bool StartsWithOlderHeader(int fd, off_t start) {
    const std::string firstColumn = JournalFormat::Quote(JournalColumns::kTimestamp) + ",";
    std::array<char, 4096> head{};
    const ssize_t n = ::pread(fd, head.data(), head.size(), start);
    if (n <= 0) {
        return false;
    }
    const std::string_view text(head.data(), static_cast<size_t>(n));
    const size_t end = text.find('\n');
    return end != std::string_view::npos && text.starts_with(firstColumn) &&
           text.substr(0, end + 1) != JournalFormat::HeaderLine();
}

// True when the bytes from `from` to `size` are a whole record of today's layout that only
// lacks its line feed, as a program saving the file may leave it; false for a torn one.
bool IsWholeRecord(int fd, off_t from, off_t size) {
    const auto length = static_cast<size_t>(size - from);
    if (length > JournalFormat::kMaxRecordBytes) {
        return false;
    }
    std::string tail(length, '\0');
    if (::pread(fd, tail.data(), length, from) != static_cast<ssize_t>(length)) {
        return false;
    }
    std::string_view line(tail);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    std::vector<std::string_view> fields;
    std::deque<std::string> unquoted;
    constexpr size_t kKindColumn = 5;
    return JournalParse::SplitFields(line, fields, unquoted) &&
           fields.size() == JournalFormat::FieldCount() && JournalParse::EpochMs(fields[0]) &&
           JournalParse::KindNamed(fields[kKindColumn]);
}

}  // namespace

CJournal::CJournal(std::string folder)
    : CJournal(std::move(folder), JournalFormat::MachineName()) {}

CJournal::CJournal(std::string folder, std::string machine)
    : folder(std::move(folder)), machine(std::move(machine)) {}

std::string CJournal::DefaultFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (IsAbsolute(data)) {
        return std::string(data) + "/" + JournalFormat::kProgramFolder;
    }
    const char* home = std::getenv("HOME");
    if (IsAbsolute(home)) {
        return std::string(home) + "/.local/share/" + JournalFormat::kProgramFolder;
    }
    return {};
}

std::string CJournal::PathFor(const timespec& when) const {
    return PathFor(when, 1);
}

std::string CJournal::PathFor(const timespec& when, int part) const {
    return folder + "/" + JournalFormat::FileName(when, machine, part);
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
    const std::string line = JournalFormat::RecordLine(context, record, when);
    if (line.size() > JournalFormat::kMaxRecordBytes) {
        lastError = EMSGSIZE;  // no reader would take it for a record
        return JOURNAL_WRITE_FAILED;
    }
    const std::string day = JournalFormat::FileName(when, machine, 1);
    if (day != openDay) {
        openDay = day;
        openPart = 1;
    }
    int status = JOURNAL_WRITE_FAILED;
    for (; openPart <= kMaxPartsPerDay; ++openPart) {
        status = AppendTo(PathFor(when, openPart), line);
        if (status != JOURNAL_WRITE_FAILED || lastError != JOURNAL_REFUSED_OLDER_LAYOUT) {
            return status;
        }
    }
    openPart = kMaxPartsPerDay;
    return status;
}

int CJournal::AppendTo(const std::string& path, const std::string& line) {
    if (path != openPath || !file.IsValid()) {
        const int status = OpenFile(path);
        if (status != JOURNAL_OK) {
            return status;
        }
    }
    return Write(line);
}

int CJournal::OpenFile(const std::string& path) {
    file.Reset();
    openPath.clear();
    if (const int err = MakeFolders(folder, kFolderMode); err != 0) {
        lastError = err;
        return JOURNAL_NO_FOLDER;
    }
    // No link is followed, and a FIFO planted in the file's place cannot hold the open.
    const int fd = ::open(
        path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, kFileMode);
    if (fd < 0) {
        lastError = errno;
        return JOURNAL_OPEN_FAILED;
    }
    file.Reset(fd);
    if (const int err = RefusalOf(file.Get()); err != 0) {
        file.Reset();
        lastError = err;
        return JOURNAL_OPEN_FAILED;
    }
    openPath = path;
    return JOURNAL_OK;
}

int CJournal::PrepareTail(std::string& prefix) {
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        return errno;
    }
    if (info.st_size == 0) {
        prefix = JournalFormat::HeaderLine();
        return 0;
    }
    // Checked under the lock: another writer may have just created the file.
    const off_t start = HeaderStart(file.Get());
    if (!StartsWithHeader(file.Get(), start, info.st_size)) {
        return StartsWithOlderHeader(file.Get(), start) ? JOURNAL_REFUSED_OLDER_LAYOUT
                                                        : JOURNAL_REFUSED_NO_HEADER;
    }
    char last = '\n';
    if (::pread(file.Get(), &last, 1, info.st_size - 1) != 1) {
        return ErrnoOr(EIO);
    }
    if (last == '\n') {
        return 0;
    }
    const off_t keep = EndOfLastLine(file.Get(), info.st_size);
    if (keep > start && IsWholeRecord(file.Get(), keep, info.st_size)) {
        prefix = "\n";
        return 0;
    }
    if (keep < 0 || ::ftruncate(file.Get(), keep) != 0) {
        return ErrnoOr(EIO);
    }
    if (keep == 0) {
        prefix = JournalFormat::HeaderLine();
    }
    return 0;
}

int CJournal::Write(const std::string& line) {
    if (const int err = WriteLocked(line); err != 0) {
        return Fail(JOURNAL_WRITE_FAILED, err);
    }
    lastError = 0;
    return JOURNAL_OK;
}

int CJournal::WriteLocked(const std::string& line) {
    const FileLock lock(file.Get());
    if (!lock.Locked()) {
        return ErrnoOr(EIO);
    }
    std::string prefix;
    if (const int err = PrepareTail(prefix); err != 0) {
        return err;
    }
    // One write for the whole record: O_APPEND puts it at the end in one piece.
    const std::string bytes = prefix + line;
    const ssize_t n = ::write(file.Get(), bytes.data(), bytes.size());
    if (n != static_cast<ssize_t>(bytes.size())) {
        return n >= 0 ? ENOSPC : ErrnoOr(EIO);
    }
    return ::fdatasync(file.Get()) == 0 ? 0 : ErrnoOr(EIO);
}

int CJournal::Fail(int status, int err) {
    lastError = err;
    // The next record opens the file afresh: the folder may have been fixed meanwhile.
    file.Reset();
    openPath.clear();
    return status;
}
