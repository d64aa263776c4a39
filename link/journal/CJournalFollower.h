#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "CIdentitySet.h"
#include "CRecordBatch.h"
#include "FilePlan.h"
#include "JournalEntry.h"
#include "JournalLines.h"

// Follows a folder: the lines appended since the last call (by this or another process,
// e.g. the command line), without re-reading what it has read. The first call reads all.
// A line still being written is left for a later call.
class CJournalFollower {
public:
    CJournalFollower(std::string folder, std::string network);
    // For a reading of what the files hold now: a last line without its line feed is taken
    // as it stands, instead of being left for a writer to finish.
    void TakeUnfinishedLines() { takeUnfinished = true; }

    std::vector<JournalEntry> ReadNew();
    // The same records in the same order, each handed to `take` in one entry reused for the next
    // (what `take` keeps of it, it copies), so that none is held; how many were handed.
    size_t ReadNew(const std::function<void(const JournalEntry&)>& take);
    size_t SkippedLines() const { return skipped; }
    // Records already taken from another file of the folder, left out.
    size_t RepeatedRecords() const { return repeated; }
    // Lines left unfinished at the end of a file: torn when nobody writes any more.
    size_t PendingLines() const;
    // False when the folder could not be listed at the last call.
    bool FolderReadable() const { return readable; }
    // The day files that could not be read at the last call, with their folder.
    std::vector<std::string> UnreadableFiles() const;
    // The folder's files that are no journal files at the last call, with their folder.
    std::vector<std::string> LeftAside() const;
    const std::string& Folder() const { return folder; }

private:
    struct FileState {
        LineCursor cursor;
        unsigned generation = 0;   // of the cursor the columns below were read in
        bool pending = false;      // bytes after the last line feed
        bool unreadable = false;   // at the last call
        std::vector<int> columns;  // field index of each known column, -1 when absent
        size_t fieldCount = 0;
        bool headerRead = false;
        size_t lineNumber = 0;  // of the last line taken, from 1
        uint64_t lastHash = 0;  // of the last record taken, and how often it came in a row
        uint64_t repeats = 0;
        bool machineKnown = false;  // the two below, read from the file's name once
        std::string machine;        // the one the file is named after
        uint64_t machineHash = 0;
        bool inBatch = false;  // the batch or plan of this call has its columns already
    };
    // A first reading of a file, into `state` (a copy of its own, kept once its records are
    // handed) and `plan`.
    void PlanFile(FilePlan& plan, FileState& state);
    std::vector<std::string> GrownFiles(const std::vector<std::string>& names);
    size_t MergeOrSort(const std::vector<std::string>& names, std::vector<FilePlan>& plans,
                       std::vector<FileState>& staged,
                       const std::function<void(const JournalEntry&)>& take);
    void ForgetTaken(const std::vector<FilePlan>& plans, const std::vector<size_t>& which);
    size_t ReadBatch(const std::vector<std::string>& names,
                     const std::function<void(const JournalEntry&)>& take);
    void ReadFile(const std::string& name, FileState& state, CRecordBatch& batch);
    // Without `batch`, what is taken goes into the plan; the lines skipped and records repeated are
    // counted in it either way.
    void ReadLine(std::string_view line, const std::string& name, FileState& state, FilePlan& plan,
                  CRecordBatch* batch);
    uint64_t IdentityOf(uint64_t hash, const std::string& name, FileState& state);
    void TakeLine(std::string_view line, uint64_t hash, const std::string& name, FileState& state,
                  FilePlan& plan, CRecordBatch* batch);

    std::string folder;
    std::string network;
    std::map<std::string, FileState> files;
    std::vector<std::string> leftAside;
    size_t skipped = 0;
    size_t repeated = 0;
    CIdentitySet identities;       // of the records taken
    std::vector<TakenLine> taken;  // by the first reading of this call, in the files' order
    bool readable = true;
    bool takeUnfinished = false;
    // Reused from line to line.
    std::vector<std::string_view> fields;
    std::deque<std::string> unquoted;
    JournalEntry checked;  // what sorting a line out reads of it
};
