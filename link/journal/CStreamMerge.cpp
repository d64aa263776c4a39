#include "CStreamMerge.h"

#include <sys/stat.h>

#include <utility>

#include "CEntryBuilder.h"
#include "JournalParse.h"

namespace {

// A shared folder holds a stream per machine; beyond these, sorting costs less than merging.
constexpr size_t kMaxStreams = 32;
// The records of one file held at once while merging; a larger file is sorted with the others.
constexpr size_t kMaxFileRecords = 8192;

}  // namespace

CStreamMerge::CStreamMerge(std::string folder, bool takeUnfinished,
                           const std::vector<TakenLine>& taken)
    : folder(std::move(folder)), takeUnfinished(takeUnfinished), taken(taken) {}

bool CStreamMerge::Arrange(const std::vector<FilePlan>& plans) {
    streams.clear();
    for (size_t i = 0; i < plans.size(); ++i) {
        const FilePlan& plan = plans[i];
        if (plan.takenCount == 0) {
            continue;
        }
        if (!plan.inOrder || plan.takenCount > kMaxFileRecords) {
            return false;
        }
        // The stream that ends latest but not after the file starts: the file follows it.
        Stream* fit = nullptr;
        for (Stream& stream : streams) {
            if (stream.lastMs <= plan.firstMs && (fit == nullptr || stream.lastMs > fit->lastMs)) {
                fit = &stream;
            }
        }
        if (fit == nullptr) {
            if (streams.size() == kMaxStreams) {
                return false;
            }
            fit = &streams.emplace_back();
        }
        fit->plans.push_back(i);
        fit->lastMs = plan.lastMs;
    }
    return true;
}

bool CStreamMerge::FilesUnchanged(const std::vector<FilePlan>& plans) const {
    for (const FilePlan& plan : plans) {
        struct stat info {};
        if (plan.takenCount != 0 &&
            (::lstat((folder + "/" + plan.name).c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
             info.st_dev != plan.device || info.st_ino != plan.inode || info.st_size < plan.end)) {
            return false;
        }
    }
    return true;
}

size_t CStreamMerge::Run(const std::vector<FilePlan>& plans,
                         const std::function<void(const JournalEntry&)>& take,
                         std::vector<size_t>& changed) {
    std::vector<Stream*> live;
    for (Stream& stream : streams) {
        if (Advance(stream, plans, changed)) {
            live.push_back(&stream);
        }
    }
    size_t handed = 0;
    while (!live.empty()) {
        size_t first = 0;
        for (size_t s = 1; s < live.size(); ++s) {
            first = Before(*live[s], *live[first]) ? s : first;
        }
        Stream& stream = *live[first];
        take(stream.entries[stream.at]);
        ++handed;
        if (++stream.at == stream.count && !Advance(stream, plans, changed)) {
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(first));
        }
    }
    return handed;
}

// By the instant, then by the order the records were taken in: files', then lines' order.
bool CStreamMerge::Before(const Stream& a, const Stream& b) const {
    const JournalEntry& x = a.entries[a.at];
    const JournalEntry& y = b.entries[b.at];
    if (x.epochMs != y.epochMs) {
        return x.epochMs < y.epochMs;
    }
    return a.plan != b.plan ? a.plan < b.plan : x.lineNumber < y.lineNumber;
}

// The next file of the stream whose records could be read again; false when none is left.
bool CStreamMerge::Advance(Stream& stream, const std::vector<FilePlan>& plans,
                           std::vector<size_t>& changed) {
    while (stream.nextPlan < stream.plans.size()) {
        stream.plan = stream.plans[stream.nextPlan++];
        if (Load(plans[stream.plan], stream)) {
            return true;
        }
        changed.push_back(stream.plan);
    }
    return false;
}

// The records the plan took, read again: true only when the file still holds the very lines.
bool CStreamMerge::Load(const FilePlan& plan, Stream& stream) {
    if (stream.entries.size() < plan.takenCount) {
        stream.entries.resize(plan.takenCount);
    }
    LineCursor cursor = plan.start;
    size_t lineNumber = plan.baseLine;
    size_t next = 0;
    size_t layout = 0;
    uint64_t checksum = 0;
    bool built = true;
    const LinesRead read = ReadJournalLines(
        folder + "/" + plan.name, cursor, takeUnfinished, [&](std::string_view line) {
            ++lineNumber;
            if (next == plan.takenCount || lineNumber != taken[plan.firstTaken + next].lineNumber) {
                return;
            }
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            checksum = MixHash(checksum, LineChecksum(line));
            while (layout + 1 < plan.layouts.size() && plan.layouts[layout + 1].first <= next) {
                ++layout;
            }
            JournalEntry& entry = stream.entries[next];
            built = built && JournalParse::SplitFields(line, fields, unquoted) &&
                    CEntryBuilder(fields, plan.layouts[layout].second).Build(entry);
            entry.machine.assign(plan.machine);
            entry.fileName.assign(plan.name);
            entry.lineNumber = lineNumber;
            entry.identity = taken[plan.firstTaken + next].identity;
            ++next;
        });
    stream.count = next;
    stream.at = 0;
    return read.error == 0 && built && read.device == plan.device && read.inode == plan.inode &&
           cursor.generation == plan.start.generation && next == plan.takenCount &&
           checksum == plan.checksum;
}
