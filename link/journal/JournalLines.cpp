#include "JournalLines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "CFileDescriptor.h"
#include "CJournal.h"
#include "JournalFormat.h"

namespace {

// A busy day file in one read, most of the time.
constexpr size_t kPiece = size_t{128} << 10;
using JournalFormat::kByteOrderMark;

// Cuts the pieces read into lines, holding at most one record's maximum of an unfinished one.
class LineSplitter {
public:
    LineSplitter(LineCursor& cursor, LinesRead& result,
                 const std::function<void(std::string_view)>& line)
        : cursor(cursor), result(result), line(line) {}

    // The bytes of the file from `at` on.
    void Take(std::string_view bytes, off_t at) {
        size_t i = 0;
        while (i < bytes.size()) {
            const size_t feed = bytes.find('\n', i);
            const size_t end = feed == std::string_view::npos ? bytes.size() : feed;
            const off_t next =
                at + static_cast<off_t>(feed == std::string_view::npos ? end : end + 1);
            if (cursor.skipping) {
                cursor.skipping = feed == std::string_view::npos;
                cursor.offset = next;
            } else if (unfinished.size() + (end - i) > JournalFormat::kMaxRecordBytes) {
                ++result.overlong;
                unfinished.clear();
                cursor.skipping = feed == std::string_view::npos;
                cursor.offset = next;
            } else if (feed != std::string_view::npos && unfinished.empty()) {
                line(bytes.substr(i, end - i));
                cursor.offset = next;
            } else {
                unfinished.append(bytes.substr(i, end - i));
                if (feed != std::string_view::npos) {
                    line(unfinished);
                    unfinished.clear();
                    cursor.offset = next;
                }
            }
            i = feed == std::string_view::npos ? bytes.size() : feed + 1;
        }
    }

    // A hole up to `end`: zero bytes, which no record holds, so the line it falls in is none.
    void Hole(off_t end) {
        if (!cursor.skipping) {
            ++result.overlong;
            cursor.skipping = true;
        }
        unfinished.clear();
        cursor.offset = end;
    }

    void Finish(off_t end, bool takeUnfinished) {
        if (unfinished.empty()) {
            return;
        }
        if (takeUnfinished) {
            line(unfinished);
            cursor.offset = end;
        } else {
            result.pending = true;  // the cursor stays at its start: read again next time
        }
    }

private:
    LineCursor& cursor;
    LinesRead& result;
    const std::function<void(std::string_view)>& line;
    std::string unfinished;
};

// Where the next written bytes at or after `at` start; `size` when only a hole is left.
off_t NextData(int fd, off_t at, off_t size) {
    const off_t data = ::lseek(fd, at, SEEK_DATA);
    if (data >= 0) {
        return std::min(data, size);
    }
    return errno == ENXIO ? size : at;  // no hole support: everything is data
}

void ReadPieces(int fd, off_t size, LineCursor& cursor, LineSplitter& splitter) {
    // Never zeroed: only what a read wrote is looked at. One for all the files a thread reads (no
    // line's handler reads a file): a fresh one for each would fault on each of its pages.
    thread_local const std::unique_ptr<char[]> piece =
        std::make_unique_for_overwrite<char[]>(kPiece);
    off_t at = cursor.offset;
    while (at < size) {
        if (const off_t data = NextData(fd, at, size); data > at) {
            splitter.Hole(data);
            at = data;
            continue;
        }
        const auto wanted =
            static_cast<size_t>(std::min<off_t>(static_cast<off_t>(kPiece), size - at));
        const ssize_t n = ::pread(fd, piece.get(), wanted, at);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        std::string_view bytes(piece.get(), static_cast<size_t>(n));
        off_t from = at;
        at += n;
        if (from == 0 && bytes.starts_with(kByteOrderMark)) {
            bytes.remove_prefix(kByteOrderMark.size());
            from = static_cast<off_t>(kByteOrderMark.size());
            cursor.offset = from;
        }
        splitter.Take(bytes, from);
    }
}

}  // namespace

LinesRead ReadJournalLines(const std::string& path, LineCursor& cursor, bool takeUnfinished,
                           const std::function<void(std::string_view)>& line) {
    LinesRead result;
    struct stat seen {};
    if (::lstat(path.c_str(), &seen) == 0 && S_ISREG(seen.st_mode) &&
        seen.st_size == cursor.offset) {
        return result;  // nothing appended: not even opened
    }
    // A FIFO or a device put in the file's place cannot hold the open, nor a link lead it away.
    const CFileDescriptor file(
        ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (!file.IsValid() || ::fstat(file.Get(), &info) != 0) {
        result.error = errno != 0 ? errno : EIO;
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = JOURNAL_REFUSED_NOT_REGULAR;
        return result;
    }
    result.device = info.st_dev;
    result.inode = info.st_ino;
    if (info.st_size < cursor.offset) {
        cursor = LineCursor{0, false, cursor.generation + 1};  // cut or replaced
    }
    LineSplitter splitter(cursor, result, line);
    ReadPieces(file.Get(), info.st_size, cursor, splitter);
    splitter.Finish(info.st_size, takeUnfinished);
    return result;
}
