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

// What LastError holds, besides an errno, when the day's file is there but is not one the
// journal writes into (a symbolic link is refused by the system: ELOOP).
enum JournalRefusal : int {
    JOURNAL_REFUSED_NOT_REGULAR = -1,   // a FIFO, a device, a socket
    JOURNAL_REFUSED_NOT_OWN = -2,       // another user's file
    JOURNAL_REFUSED_LINKED = -3,        // a file with another name (a hard link)
    JOURNAL_REFUSED_NO_HEADER = -4,     // a file whose first line is not the journal's header
    JOURNAL_REFUSED_OLDER_LAYOUT = -5,  // a journal of the day with other columns
};

// The commissioning journal: one CSV file per local day and machine in a folder, one line per
// exchange. A machine appends only to the files named after it, so that a folder synced between
// machines never has two writers on one file.
// Each record is appended in one write under an exclusive lock and flushed to disk before
// Append returns, so tools writing side by side never interleave and a killed writer loses
// no record it had returned from. A record left half-written by a writer killed inside its
// write is cut away by the next writer, under the same lock. A day's file written with other
// columns is left as it is: the records go on in the day's next file ("2026-12-09.poste-1.2.csv").
// Only a regular file of the user's own, with one name and the journal's header, is ever written or
// cut; no link is followed.
class CJournal {
public:
    explicit CJournal(std::string folder);
    // `machine` as SafeMachineName gives it; the files of another machine are never written.
    CJournal(std::string folder, std::string machine);

    // $XDG_DATA_HOME/zav7305, or ~/.local/share/zav7305 when the variable is unset or not an
    // absolute path; empty when neither can be told.
    static std::string DefaultFolder();

    int Append(const JournalContext& context, const ExchangeRecord& record);
    int Append(const JournalContext& context, const ExchangeRecord& record, const timespec& when);

    const std::string& Folder() const { return folder; }
    const std::string& Machine() const { return machine; }
    std::string PathFor(const timespec& when) const;
    // The day's `part`-th file: 1 is the day's own name.
    std::string PathFor(const timespec& when, int part) const;
    // errno or JournalRefusal of the last failure, 0 after a success.
    int LastError() const { return lastError; }

private:
    int AppendTo(const std::string& path, const std::string& line);
    int OpenFile(const std::string& path);
    int Write(const std::string& line);
    // These return 0 or the error for LastError.
    int WriteLocked(const std::string& line);
    // Under the lock: a header for a new file; a torn last line cut away.
    int PrepareTail(std::string& prefix);
    int Fail(int status, int err);

    std::string folder;
    std::string machine;
    std::string openPath;
    std::string openDay;  // the day whose later file is open
    int openPart = 1;
    CFileDescriptor file;
    int lastError = 0;
};
