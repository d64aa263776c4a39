#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FilePlan.h"
#include "JournalEntry.h"

// The records a first reading of a folder's files took, read again file by file and handed over
// in time order without holding them all: the files fall into streams, each a run of files whose
// records follow one another in time (a machine's days), and the streams are merged. Records of one
// instant come in the order the first reading took them (by their files', then their lines' order).
class CStreamMerge {
public:
    // `taken`: the records all the plans took, each plan's side by side.
    CStreamMerge(std::string folder, bool takeUnfinished, const std::vector<TakenLine>& taken);

    // False when the plans make no streams that can be merged: a file whose records are out of
    // time order (a clock put back), one too large to read again at once, too many streams.
    bool Arrange(const std::vector<FilePlan>& plans);
    // False when a file with records taken is no longer the one read, or was cut.
    bool FilesUnchanged(const std::vector<FilePlan>& plans) const;
    // Hands the records over; the plans whose file was found to hold something else than what was
    // taken (replaced or cut while merging) are listed in `changed`, none of their records handed.
    size_t Run(const std::vector<FilePlan>& plans,
               const std::function<void(const JournalEntry&)>& take, std::vector<size_t>& changed);

private:
    struct Stream {
        std::vector<size_t> plans;  // indexes, in folder order
        size_t nextPlan = 0;
        size_t plan = 0;  // the one whose records are loaded
        std::vector<JournalEntry> entries;
        size_t count = 0;
        size_t at = 0;
        int64_t lastMs = 0;
    };
    bool Advance(Stream& stream, const std::vector<FilePlan>& plans, std::vector<size_t>& changed);
    bool Load(const FilePlan& plan, Stream& stream);
    bool Before(const Stream& a, const Stream& b) const;

    std::string folder;
    bool takeUnfinished = false;
    const std::vector<TakenLine>& taken;
    std::vector<Stream> streams;
    std::vector<std::string_view> fields;
    std::deque<std::string> unquoted;
};
