#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Where a reading of one day file stands between two calls.
struct LineCursor {
    off_t offset = 0;         // the first byte not yet taken
    bool skipping = false;    // inside a line that can be no record, already counted
    unsigned generation = 0;  // one more each time the file is found cut or replaced
};

struct LinesRead {
    int error = 0;         // errno, or JOURNAL_REFUSED_NOT_REGULAR; 0 when read
    bool pending = false;  // an unfinished line was left at the end
    size_t overlong = 0;   // lines longer than any record, or holding a hole, skipped
    dev_t device = 0;      // of the file opened; 0 when none was
    ino_t inode = 0;
};

// Hands every complete line of the regular file `path` after `cursor`, without its line
// feed and without a byte order mark at the file's start, to `line`, and moves the cursor past
// them; a file found shorter than the cursor is read again from its start, in a new
// generation. The file is opened without blocking and never through a link, and judged by what was
// opened. It is read in pieces: no more than one record's maximum is held at a time, and a
// hole (a sparse file's unwritten part) is passed over without being read. With
// `takeUnfinished`, a last line without its line feed is handed over too.
LinesRead ReadJournalLines(const std::string& path, LineCursor& cursor, bool takeUnfinished,
                           const std::function<void(std::string_view)>& line);
