#pragma once

#include <ctime>
#include <string>

#include "CFileDescriptor.h"
#include "ExchangeRecord.h"
#include "JournalFormat.h"

enum JournalStatus : int {
    JOURNAL_OK = 0,
    JOURNAL_NO_FOLDER = 1,     // the folder could not be made
    JOURNAL_OPEN_FAILED = 2,   // the day's file could not be opened
    JOURNAL_WRITE_FAILED = 3,  // the record could not be written or flushed
};

// The commissioning journal: one CSV file per local day in a folder, one line per exchange.
// Each record is appended in one write under an exclusive lock and flushed to disk before
// Append returns, so tools writing side by side never interleave and a killed writer loses
// no record it had returned from. A record left half-written by a writer killed inside its
// write is cut away by the next writer, under the same lock.
class CJournal {
public:
    explicit CJournal(std::string folder);

    // $XDG_DATA_HOME/zav7305, or ~/.local/share/zav7305 when the variable is unset or not an
    // absolute path; empty when neither can be told.
    static std::string DefaultFolder();

    int Append(const JournalContext& context, const ExchangeRecord& record);
    int Append(const JournalContext& context, const ExchangeRecord& record, const timespec& when);

    const std::string& Folder() const { return folder; }
    std::string PathFor(const timespec& when) const;
    // errno of the last failure, 0 after a success.
    int LastError() const { return lastError; }

private:
    int OpenFile(const std::string& path);
    int Write(const std::string& line);
    bool WriteLocked(const std::string& line);
    // Under the lock: a header for a new file; a torn last line cut away.
    bool PrepareTail(std::string& prefix);
    int Fail(int status);

    std::string folder;
    std::string openPath;
    CFileDescriptor file;
    int lastError = 0;
};
