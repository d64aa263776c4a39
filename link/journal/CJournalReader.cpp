#include "CJournalReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <utility>

#include "JournalColumns.h"
#include "JournalFormat.h"
#include "JournalParse.h"

namespace {

// By the instant in UTC; records of one instant by their file's name, then their line.
bool Earlier(const JournalEntry& a, const JournalEntry& b) {
    if (a.epochMs != b.epochMs) {
        return a.epochMs < b.epochMs;
    }
    if (a.fileName != b.fileName) {
        return a.fileName < b.fileName;
    }
    return a.lineNumber < b.lineNumber;
}

// Records in time order, each identity once; how many were left out.
size_t TakeEachOnce(std::vector<JournalEntry>& entries) {
    CIdentitySet seen;
    seen.Reserve(entries.size());
    const auto repeated =
        std::remove_if(entries.begin(), entries.end(),
                       [&seen](const JournalEntry& entry) { return !seen.Insert(entry.identity); });
    const auto count = static_cast<size_t>(entries.end() - repeated);
    entries.erase(repeated, entries.end());
    return count;
}

// The folder's canonical path, or the path as given when it has none (it is not there).
std::string Canonical(const std::string& folder) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(folder.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : folder;
}

// The folders without their duplicates, in the order given; `order` lists them by
// canonical path, the order they are read in.
std::vector<std::string> Unique(const std::vector<std::string>& folders,
                                std::vector<std::pair<std::string, size_t>>& order) {
    std::vector<std::string> unique;
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        std::string canonical = Canonical(folder);
        if (seen.insert(canonical).second) {
            order.emplace_back(std::move(canonical), unique.size());
            unique.push_back(folder);
        }
    }
    std::sort(order.begin(), order.end());
    return unique;
}

// Files of days follow one another, so the entries are mostly in order already. When they are
// not (the files of several machines for one day), the order is found on small keys and the
// entries are then moved once each into place: sorting the entries themselves would move
// every one of them many times, through a buffer as large as them all.
void SortByTime(std::vector<JournalEntry>& entries) {
    if (std::is_sorted(entries.begin(), entries.end(), Earlier)) {
        return;
    }
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    // An index breaks the ties Earlier leaves, as a stable sort would.
    std::sort(order.begin(), order.end(), [&entries](size_t a, size_t b) {
        return Earlier(entries[a], entries[b]) || (!Earlier(entries[b], entries[a]) && a < b);
    });
    // Each cycle of the permutation is followed once: entry order[i] belongs at i.
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start) {
            continue;
        }
        JournalEntry held = std::move(entries[start]);
        size_t at = start;
        while (order[at] != start) {
            const size_t from = order[at];
            entries[at] = std::move(entries[from]);
            order[at] = at;
            at = from;
        }
        entries[at] = std::move(held);
        order[at] = at;
    }
}

}  // namespace

JournalScan ReadJournal(const std::vector<std::string>& folders, const std::string& network) {
    JournalScan scan;
    std::vector<std::pair<std::string, size_t>> order;
    const std::vector<std::string> unique = Unique(folders, order);
    std::vector<bool> readable(unique.size(), false);
    for (const auto& [canonical, index] : order) {
        CJournalFollower follower(unique[index], network);
        follower.TakeUnfinishedLines();
        std::vector<JournalEntry> entries = follower.ReadNew();
        readable[index] = follower.FolderReadable();
        scan.skippedLines += follower.SkippedLines();
        scan.repeatedRecords += follower.RepeatedRecords();
        const std::vector<std::string> unreadable = follower.UnreadableFiles();
        scan.unreadableFiles.insert(scan.unreadableFiles.end(), unreadable.begin(),
                                    unreadable.end());
        const std::vector<std::string> aside = follower.LeftAside();
        scan.leftAside.insert(scan.leftAside.end(), aside.begin(), aside.end());
        if (scan.entries.empty()) {
            scan.entries = std::move(entries);  // one folder: no entry moved at all
        } else {
            std::move(entries.begin(), entries.end(), std::back_inserter(scan.entries));
        }
    }
    for (size_t i = 0; i < unique.size(); ++i) {
        (readable[i] ? scan.folders : scan.unreadableFolders).push_back(unique[i]);
    }
    SortByTime(scan.entries);
    scan.repeatedRecords += TakeEachOnce(scan.entries);
    return scan;
}
