#include "CJournalFollower.h"

#include <dirent.h>

#include <algorithm>
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
    bool Build(JournalEntry& entry) const { return Run(entry, false); }
    // The same answer, from the columns that can refuse a line: `entry` holds only what they read.
    bool Check(JournalEntry& entry) const { return Run(entry, true); }

private:
    bool Run(JournalEntry& entry, bool refusingOnly) const {
        const std::vector<JournalColumns::Column>& all = JournalColumns::All();
        for (size_t c = 0; c < all.size(); ++c) {
            if (all[c].read && (all[c].refuses || !refusingOnly) && !all[c].read(Raw(c), entry)) {
                return false;
            }
        }
        return true;
    }

    const std::vector<std::string_view>& fields;
    const std::vector<int>& columns;
};

uint64_t Mix(uint64_t seed, uint64_t value) {
    return seed ^ (value + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2));
}

}  // namespace

CJournalFollower::CJournalFollower(std::string folder, std::string network)
    : folder(std::move(folder)), network(std::move(network)) {}

size_t CJournalFollower::PendingLines() const {
    return static_cast<size_t>(std::count_if(files.begin(), files.end(),
                                             [](const auto& file) { return file.second.pending; }));
}

std::vector<JournalEntry> CJournalFollower::ReadNew() {
    std::vector<JournalEntry> entries;
    ReadNew([&entries](const JournalEntry& entry) { entries.push_back(entry); });
    return entries;
}

size_t CJournalFollower::ReadNew(const std::function<void(const JournalEntry&)>& take) {
    std::vector<std::string> names;
    leftAside.clear();
    readable = ListJournalFiles(folder, names, leftAside);
    CRecordBatch batch;
    for (const std::string& name : names) {
        ReadFile(name, files[name], batch);
    }
    JournalEntry entry;
    batch.ForEachInTimeOrder([&](const CRecordBatch::Record& record) {
        const CRecordBatch::Source& source = batch.Sources()[record.source];
        // The line was split and checked once already: it splits and builds the same again.
        JournalParse::SplitFields(record.line, fields, unquoted);
        EntryBuilder(fields, source.columns).Build(entry);
        entry.machine.assign(source.machine);
        entry.fileName.assign(source.fileName);
        entry.lineNumber = record.lineNumber;
        entry.identity = record.identity;
        take(entry);
    });
    return batch.Size();
}

void CJournalFollower::ReadFile(const std::string& name, FileState& state, CRecordBatch& batch) {
    state.inBatch = false;
    const LinesRead read =
        ReadJournalLines(folder + "/" + name, state.cursor, takeUnfinished,
                         [&](std::string_view line) { ReadLine(line, name, state, batch); });
    state.unreadable = read.error != 0;
    state.pending = read.pending;
    skipped += read.overlong;
}

void CJournalFollower::ReadLine(std::string_view line, const std::string& name, FileState& state,
                                CRecordBatch& batch) {
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
        state.inBatch = false;
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
    if (!builder.Check(checked)) {
        ++skipped;
        return;
    }
    TakeLine(line, std::hash<std::string_view>{}(line), name, state, batch);
}

// A record of the network: kept for the batch unless another copy of it was taken.
void CJournalFollower::TakeLine(std::string_view line, uint64_t hash, const std::string& name,
                                FileState& state, CRecordBatch& batch) {
    state.repeats = hash == state.lastHash && state.lineNumber > 1 ? state.repeats + 1 : 0;
    state.lastHash = hash;
    if (!state.machineKnown) {
        state.machine = JournalFormat::MachineOf(name);
        state.machineHash = std::hash<std::string>{}(state.machine);
        state.machineKnown = true;
    }
    const uint64_t identity = Mix(Mix(state.machineHash, hash), state.repeats);
    if (!identities.Insert(identity)) {
        ++repeated;
        return;
    }
    if (!state.inBatch) {
        batch.StartSource({name, state.machine, state.columns});
        state.inBatch = true;
    }
    batch.Add(checked.epochMs, line, identity, state.lineNumber);
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
