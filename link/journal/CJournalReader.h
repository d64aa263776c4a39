#pragma once

#include <sys/types.h>

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "JournalEntry.h"

struct JournalScan {
    std::vector<JournalEntry> entries;  // sorted by epochMs; equal instants keep file order
    size_t skippedLines = 0;            // bad, foreign-layout or torn lines
    std::vector<std::string> folders;   // the folders that could be read
    std::vector<std::string> unreadableFolders;
    std::vector<std::string> unreadableFiles;  // day files left out: links, FIFOs, refused
};

// Every entry of `network` in the journal files of the folders, merged by time. An empty
// network stands for the records written before networks were named.
JournalScan ReadJournal(const std::vector<std::string>& folders, const std::string& network);

// Follows a folder: the lines appended since the last call (by this or another process,
// e.g. the command line), without re-reading what it has read. The first call reads all.
// A line still being written is left for a later call.
class CJournalFollower {
public:
    CJournalFollower(std::string folder, std::string network);

    std::vector<JournalEntry> ReadNew();
    size_t SkippedLines() const { return skipped; }
    // Lines left unfinished at the end of a file: torn when nobody writes any more.
    size_t PendingLines() const;
    // False when the folder could not be listed at the last call.
    bool FolderReadable() const { return readable; }
    // The day files that could not be read at the last call, with their folder.
    std::vector<std::string> UnreadableFiles() const;
    const std::string& Folder() const { return folder; }

private:
    struct FileState {
        off_t offset = 0;
        bool pending = false;      // bytes after the last line feed
        std::vector<int> columns;  // field index of each known column, -1 when absent
        size_t fieldCount = 0;
        bool headerRead = false;
    };
    void ReadFile(const std::string& name, FileState& state, std::vector<JournalEntry>& out);
    void ReadLines(std::string_view text, FileState& state, std::vector<JournalEntry>& out);

    std::string folder;
    std::string network;
    std::map<std::string, FileState> files;
    size_t skipped = 0;
    bool readable = true;
    std::string buffer;  // kept from file to file, so that a year of files is read in one
};
