#pragma once

#include <sys/types.h>

#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "CIdentitySet.h"
#include "JournalEntry.h"
#include "JournalLines.h"

struct JournalScan {
    // In time order. Records of one instant (whatever their offsets, compared in UTC) follow
    // the order of their files' names, then of their lines, then of their folders' canonical
    // paths, so that the order the folders were given in decides nothing.
    std::vector<JournalEntry> entries;
    size_t skippedLines = 0;           // bad, foreign-layout or torn lines
    size_t repeatedRecords = 0;        // records read again through another copy, taken once
    std::vector<std::string> folders;  // the folders that could be read, each once
    std::vector<std::string> unreadableFolders;
    std::vector<std::string> unreadableFiles;  // day files left out: links, FIFOs, refused
    // The folders' files that are no journal files, never read: sync tools' conflict copies and
    // files in transfer, locks, hidden and foreign files.
    std::vector<std::string> leftAside;
};

// Every entry of `network` in the journal files of the folders, merged by time. An empty
// network stands for the records written before networks were named. A folder given twice
// (under any spelling of its path) is read once, and a record read through two copies of its
// file (a folder copied into another) is taken once. A last record without its line feed is taken.
JournalScan ReadJournal(const std::vector<std::string>& folders, const std::string& network);

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
    };
    void ReadFile(const std::string& name, FileState& state, std::vector<JournalEntry>& out);
    void ReadLine(std::string_view line, const std::string& name, FileState& state,
                  std::vector<JournalEntry>& out);

    std::string folder;
    std::string network;
    std::map<std::string, FileState> files;
    std::vector<std::string> leftAside;
    size_t skipped = 0;
    size_t repeated = 0;
    CIdentitySet identities;  // of the records taken
    bool readable = true;
    bool takeUnfinished = false;
    // Reused from line to line.
    std::vector<std::string_view> fields;
    std::deque<std::string> unquoted;
};
