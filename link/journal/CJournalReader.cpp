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

// The journal files of a folder, and beside them the other files: what a sync tool leaves
// (conflict copies, files it is still transferring, locks) and whatever else is there, which
// no reading may take in. Subfolders are no files of the folder. False when it cannot be listed.
bool ListJournalFiles(const std::string& folder, std::vector<std::string>& names,
                      std::vector<std::string>& others) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return false;
    }
    while (const dirent* item = ::readdir(dir)) {
        if (JournalFormat::IsFileName(item->d_name)) {
            names.emplace_back(item->d_name);
        } else if (item->d_type != DT_DIR) {
            others.emplace_back(item->d_name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    std::sort(others.begin(), others.end());
    return true;
}

bool IsHeader(const std::vector<std::string_view>& fields) {
    return !fields.empty() && fields[0] == JournalColumns::kTimestamp;
}

// Where each of the journal's columns is in a file's header, -1 when the file has none such;
// any other column of the file is ignored.
std::vector<int> ColumnsOf(const std::vector<std::string_view>& header) {
    const std::vector<JournalColumns::Column>& all = JournalColumns::All();
    std::vector<int> columns(all.size(), -1);
    for (size_t c = 0; c < all.size(); ++c) {
        const auto found = std::find(header.begin(), header.end(), all[c].header);
        if (found != header.end()) {
            columns[c] = static_cast<int>(found - header.begin());
        }
    }
    return columns;
}

bool IsNetwork(std::string_view raw, const std::string& network) {
    if (raw.find('\\') == std::string_view::npos) {
        return raw == network;
    }
    return JournalParse::UnescapeText(raw) == network;
}

class EntryBuilder {
public:
    EntryBuilder(const std::vector<std::string_view>& fields, const std::vector<int>& columns)
        : fields(fields), columns(columns) {}

    std::string_view Raw(size_t column) const {
        const int at = columns[column];
        return at < 0 ? std::string_view() : fields[static_cast<size_t>(at)];
    }

    // False when the line cannot be an exchange of the journal.
    bool Build(JournalEntry& entry) const {
        const std::vector<JournalColumns::Column>& all = JournalColumns::All();
        for (size_t c = 0; c < all.size(); ++c) {
            if (all[c].read && !all[c].read(Raw(c), entry)) {
                return false;
            }
        }
        return true;
    }

private:
    const std::vector<std::string_view>& fields;
    const std::vector<int>& columns;
};

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

uint64_t Mix(uint64_t seed, uint64_t value) {
    return seed ^ (value + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2));
}

// Records in time order, each identity once; how many were left out.
size_t TakeEachOnce(std::vector<JournalEntry>& entries) {
    CIdentitySet seen;
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

CJournalFollower::CJournalFollower(std::string folder, std::string network)
    : folder(std::move(folder)), network(std::move(network)) {}

size_t CJournalFollower::PendingLines() const {
    return static_cast<size_t>(std::count_if(files.begin(), files.end(),
                                             [](const auto& file) { return file.second.pending; }));
}

std::vector<JournalEntry> CJournalFollower::ReadNew() {
    std::vector<std::string> names;
    leftAside.clear();
    readable = ListJournalFiles(folder, names, leftAside);
    std::vector<JournalEntry> entries;
    for (const std::string& name : names) {
        ReadFile(name, files[name], entries);
    }
    SortByTime(entries);
    return entries;
}

void CJournalFollower::ReadFile(const std::string& name, FileState& state,
                                std::vector<JournalEntry>& out) {
    const LinesRead read =
        ReadJournalLines(folder + "/" + name, state.cursor, takeUnfinished,
                         [&](std::string_view line) { ReadLine(line, name, state, out); });
    state.unreadable = read.error != 0;
    state.pending = read.pending;
    skipped += read.overlong;
}

void CJournalFollower::ReadLine(std::string_view line, const std::string& name, FileState& state,
                                std::vector<JournalEntry>& out) {
    if (state.generation != state.cursor.generation) {
        const LineCursor cursor = state.cursor;
        state = FileState{};
        state.cursor = cursor;
        state.generation = cursor.generation;
    }
    ++state.lineNumber;
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (!JournalParse::SplitFields(line, fields, unquoted)) {
        ++skipped;
        return;
    }
    if (IsHeader(fields)) {
        state.columns = ColumnsOf(fields);
        state.fieldCount = fields.size();
        state.headerRead = true;
        return;
    }
    if (!state.headerRead || fields.size() != state.fieldCount) {
        ++skipped;
        return;
    }
    const EntryBuilder builder(fields, state.columns);
    static const size_t networkColumn = JournalColumns::IndexOf(JournalColumns::kNetwork);
    if (!IsNetwork(builder.Raw(networkColumn), network)) {
        return;
    }
    JournalEntry entry;
    if (!builder.Build(entry)) {
        ++skipped;
        return;
    }
    const uint64_t hash = std::hash<std::string_view>{}(line);
    state.repeats = hash == state.lastHash && state.lineNumber > 1 ? state.repeats + 1 : 0;
    state.lastHash = hash;
    if (!state.machineKnown) {
        state.machine = JournalFormat::MachineOf(name);
        state.machineHash = std::hash<std::string>{}(state.machine);
        state.machineKnown = true;
    }
    entry.machine = state.machine;
    entry.identity = Mix(Mix(state.machineHash, hash), state.repeats);
    if (!identities.Insert(entry.identity)) {
        ++repeated;
        return;
    }
    entry.fileName = name;
    entry.lineNumber = state.lineNumber;
    out.push_back(std::move(entry));
}

std::vector<std::string> CJournalFollower::UnreadableFiles() const {
    std::vector<std::string> paths;
    for (const auto& [name, state] : files) {
        if (state.unreadable) {
            paths.push_back(folder + "/" + name);
        }
    }
    return paths;
}

std::vector<std::string> CJournalFollower::LeftAside() const {
    std::vector<std::string> paths;
    for (const std::string& name : leftAside) {
        paths.push_back(folder + "/" + name);
    }
    return paths;
}

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
