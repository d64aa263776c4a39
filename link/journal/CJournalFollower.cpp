#include "CJournalFollower.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "CEntryBuilder.h"
#include "CLargeBuffer.h"
#include "CStreamMerge.h"
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
    // What the first reading finds is kept aside until its records are handed over: a file
    // found changed since is read again as the batch reads it, from where this call found it.
    const std::vector<std::string> grown = GrownFiles(names);
    std::vector<FilePlan> plans(grown.size());
    std::vector<FileState> staged(grown.size());
    for (size_t i = 0; i < grown.size(); ++i) {
        plans[i].name = grown[i];
        plans[i].firstTaken = taken.size();
        staged[i] = files[grown[i]];
        PlanFile(plans[i], staged[i]);
    }
    const size_t handed = MergeOrSort(grown, plans, staged, take);
    taken = {};  // a year's worth is not kept between readings
    return handed;
}

size_t CJournalFollower::MergeOrSort(const std::vector<std::string>& names,
                                     std::vector<FilePlan>& plans, std::vector<FileState>& staged,
                                     const std::function<void(const JournalEntry&)>& take) {
    CStreamMerge merge(folder, takeUnfinished, taken);
    if (!merge.Arrange(plans) || !merge.FilesUnchanged(plans)) {
        ForgetTaken(plans, {});
        return ReadBatch(names, take);
    }
    std::vector<size_t> changed;
    size_t handed = merge.Run(plans, take, changed);
    std::vector<bool> again(names.size(), false);
    for (const size_t i : changed) {
        again[i] = true;
    }
    std::vector<std::string> rest;
    for (size_t i = 0; i < names.size(); ++i) {
        if (again[i]) {
            rest.push_back(names[i]);
            continue;
        }
        files[names[i]] = std::move(staged[i]);
        skipped += plans[i].skipped;
        repeated += plans[i].repeated;
    }
    if (!rest.empty()) {
        ForgetTaken(plans, changed);
        handed += ReadBatch(rest, take);
    }
    return handed;
}

// The files that may hold something new: the others, found as long as the last reading left them,
// are read no further, as a reading that finds nothing. Room for the records of the bytes not yet
// read, were they all short ones: what is not written is never given memory, and what is, in
// large pages.
std::vector<std::string> CJournalFollower::GrownFiles(const std::vector<std::string>& names) {
    constexpr size_t kShortRecordBytes = 128;
    std::vector<std::string> grown;
    size_t unread = 0;
    for (const std::string& name : names) {
        FileState& state = files[name];
        struct stat info {};
        if (::lstat((folder + "/" + name).c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_size == state.cursor.offset) {
            state.unreadable = false;
            state.pending = false;
            continue;
        }
        grown.push_back(name);
        // Only the bytes the file holds: a hole (a sparse file of any length) holds no record.
        const off_t held = std::min<off_t>(info.st_size, off_t{info.st_blocks} * 512);
        unread += held > state.cursor.offset ? static_cast<size_t>(held - state.cursor.offset) : 0;
    }
    // Beyond this, room grows with what is found: a file of hundreds of gigabytes read whole
    // must not ask for memory it may never fill.
    constexpr size_t kMostReserved = size_t{1} << 23;
    taken.reserve(std::min(unread / kShortRecordBytes, kMostReserved));
    CLargeBuffer::PreferHugePages(taken.data(), taken.capacity() * sizeof(TakenLine));
    return grown;
}

// The records of the plans listed (of all of them when none is) were never handed: they may be
// taken again.
void CJournalFollower::ForgetTaken(const std::vector<FilePlan>& plans,
                                   const std::vector<size_t>& which) {
    for (size_t i = 0; i < plans.size(); ++i) {
        if (which.empty() || std::find(which.begin(), which.end(), i) != which.end()) {
            for (size_t t = 0; t < plans[i].takenCount; ++t) {
                identities.Erase(taken[plans[i].firstTaken + t].identity);
            }
        }
    }
}

// Every file's new records held as their lines, then handed over sorted by time.
size_t CJournalFollower::ReadBatch(const std::vector<std::string>& names,
                                   const std::function<void(const JournalEntry&)>& take) {
    CRecordBatch batch;
    for (const std::string& name : names) {
        ReadFile(name, files[name], batch);
    }
    JournalEntry entry;
    batch.ForEachInTimeOrder([&](const CRecordBatch::Record& record) {
        const CRecordBatch::Source& source = batch.Sources()[record.source];
        // The line was split and checked once already: it splits and builds the same again.
        JournalParse::SplitFields(record.line, fields, unquoted);
        CEntryBuilder(fields, source.columns).Build(entry);
        entry.machine.assign(source.machine);
        entry.fileName.assign(source.fileName);
        entry.lineNumber = record.lineNumber;
        entry.identity = record.identity;
        take(entry);
    });
    return batch.Size();
}

void CJournalFollower::PlanFile(FilePlan& plan, FileState& state) {
    state.inBatch = false;
    const LineCursor before = state.cursor;
    size_t lines = 0;
    const LinesRead read = ReadJournalLines(folder + "/" + plan.name, state.cursor, takeUnfinished,
                                            [&](std::string_view line) {
                                                ++lines;
                                                ReadLine(line, plan.name, state, plan, nullptr);
                                            });
    plan.start = state.cursor.generation != before.generation
                     ? LineCursor{0, false, state.cursor.generation}
                     : before;
    plan.baseLine = state.lineNumber - lines;
    plan.end = state.cursor.offset;
    plan.device = read.device;
    plan.inode = read.inode;
    plan.machine = state.machine;
    plan.skipped += read.overlong;
    state.unreadable = read.error != 0;
    state.pending = read.pending;
}

void CJournalFollower::ReadFile(const std::string& name, FileState& state, CRecordBatch& batch) {
    state.inBatch = false;
    FilePlan counts;
    const LinesRead read = ReadJournalLines(
        folder + "/" + name, state.cursor, takeUnfinished,
        [&](std::string_view line) { ReadLine(line, name, state, counts, &batch); });
    state.unreadable = read.error != 0;
    state.pending = read.pending;
    skipped += read.overlong + counts.skipped;
    repeated += counts.repeated;
}

void CJournalFollower::ReadLine(std::string_view line, const std::string& name, FileState& state,
                                FilePlan& plan, CRecordBatch* batch) {
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
        ++plan.skipped;
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
        ++plan.skipped;
        return;
    }
    const CEntryBuilder builder(fields, state.columns);
    static const size_t networkColumn = JournalColumns::IndexOf(JournalColumns::kNetwork);
    if (!IsNetwork(builder.Raw(networkColumn), network)) {
        return;
    }
    // The identity's slot is fetched while the line is checked: the set is too large to stay near.
    const uint64_t hash = LineChecksum(line);
    identities.Prefetch(IdentityOf(hash, name, state));
    if (!builder.Check(checked)) {
        ++plan.skipped;
        return;
    }
    TakeLine(line, hash, name, state, plan, batch);
}

// From its machine, its line's bytes and, for a line repeated as it stands, which repeat it is.
uint64_t CJournalFollower::IdentityOf(uint64_t hash, const std::string& name, FileState& state) {
    if (!state.machineKnown) {
        state.machine = JournalFormat::MachineOf(name);
        state.machineHash = std::hash<std::string>{}(state.machine);
        state.machineKnown = true;
    }
    const uint64_t repeats = hash == state.lastHash && state.lineNumber > 1 ? state.repeats + 1 : 0;
    return MixHash(MixHash(state.machineHash, hash), repeats);
}

// A record of the network: kept for the batch or in the plan, unless another copy of it was taken.
void CJournalFollower::TakeLine(std::string_view line, uint64_t hash, const std::string& name,
                                FileState& state, FilePlan& plan, CRecordBatch* batch) {
    const uint64_t identity = IdentityOf(hash, name, state);
    state.repeats = hash == state.lastHash && state.lineNumber > 1 ? state.repeats + 1 : 0;
    state.lastHash = hash;
    if (!identities.Insert(identity)) {
        ++plan.repeated;
        return;
    }
    if (batch != nullptr) {
        if (!state.inBatch) {
            batch->StartSource({name, state.machine, state.columns});
            state.inBatch = true;
        }
        batch->Add(checked.epochMs, line, identity, state.lineNumber);
        return;
    }
    if (!state.inBatch) {
        plan.layouts.emplace_back(plan.takenCount, state.columns);
        state.inBatch = true;
    }
    plan.inOrder = plan.inOrder && (plan.takenCount == 0 || checked.epochMs >= plan.lastMs);
    plan.firstMs = plan.takenCount == 0 ? checked.epochMs : plan.firstMs;
    plan.lastMs = checked.epochMs;
    plan.checksum = MixHash(plan.checksum, hash);
    taken.push_back({identity, state.lineNumber});
    ++plan.takenCount;
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
