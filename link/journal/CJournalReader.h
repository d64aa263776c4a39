#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "CJournalFollower.h"
#include "JournalEntry.h"

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
