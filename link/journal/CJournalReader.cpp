#include "CJournalReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <deque>
#include <utility>

#include "CFileDescriptor.h"
#include "JournalParse.h"

namespace {

// The columns an entry is read from, by their header names; any other column is ignored.
enum Column : size_t {
    kTimestamp,
    kRole,
    kEditor,
    kPort,
    kDevice,
    kKind,
    kBytesSent,
    kReport,
    kVerdict,
    kMessage,
    kCause,
    kSystemError,
    kCommand,
    kNetwork,
    kRepeaters,
    kColumnCount
};

constexpr std::array<const char*, kColumnCount> kColumnNames = {
    "horodatage", "rôle",           "éditeur",      "port",    "périphérique",
    "échange",    "octets envoyés", "rapport reçu", "verdict", "message",
    "cause",      "erreur système", "commande",     "réseau",  "répéteurs"};

// "2026-12-09.csv", or "2026-12-09.2.csv" for a later layout of the same day.
bool IsJournalName(std::string_view name) {
    constexpr std::string_view kExtension = ".csv";
    constexpr size_t kDateLength = 10;
    if (name.size() < kDateLength + kExtension.size() || !name.ends_with(kExtension)) {
        return false;
    }
    for (size_t i = 0; i < kDateLength; ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9')) {
            return false;
        }
    }
    const std::string_view rest =
        name.substr(kDateLength, name.size() - kDateLength - kExtension.size());
    if (rest.empty()) {
        return true;
    }
    return rest.size() >= 2 && rest[0] == '.' &&
           std::all_of(rest.begin() + 1, rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The journal files of a folder; false when it cannot be listed.
bool ListJournalFiles(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return false;
    }
    while (const dirent* item = ::readdir(dir)) {
        if (IsJournalName(item->d_name)) {
            names.emplace_back(item->d_name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return true;
}

// The bytes from `offset` to the end of a regular file; false when it cannot be read.
bool ReadFrom(const std::string& path, off_t& offset, std::string& bytes) {
    struct stat seen {};
    if (::lstat(path.c_str(), &seen) == 0 && seen.st_size == offset) {
        bytes.clear();
        return true;  // nothing appended: not even opened
    }
    CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    struct stat info {};
    if (!file.IsValid() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    if (info.st_size < offset) {
        offset = 0;  // cut or replaced: read it again from its start
    }
    bytes.resize(static_cast<size_t>(info.st_size - offset));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(file.Get(), bytes.data() + done, bytes.size() - done,
                                  offset + static_cast<off_t>(done));
        if (n <= 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return true;
}

bool IsHeader(const std::vector<std::string_view>& fields) {
    return !fields.empty() && fields[0] == kColumnNames[kTimestamp];
}

std::vector<int> ColumnsOf(const std::vector<std::string_view>& header) {
    std::vector<int> columns(kColumnCount, -1);
    for (size_t c = 0; c < kColumnCount; ++c) {
        const auto found = std::find(header.begin(), header.end(), kColumnNames[c]);
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

    std::string_view Raw(Column column) const {
        const int at = columns[column];
        return at < 0 ? std::string_view() : fields[static_cast<size_t>(at)];
    }
    std::string Text(Column column) const { return JournalParse::UnescapeText(Raw(column)); }
    std::string Bytes(Column column) const {
        return JournalParse::UnescapeDeviceBytes(Raw(column));
    }

    // False when the line cannot be an exchange of the journal.
    bool Build(JournalEntry& entry) const {
        const auto epochMs = JournalParse::EpochMs(Raw(kTimestamp));
        const auto kind = JournalParse::KindNamed(Raw(kKind));
        if (!epochMs || !kind) {
            return false;
        }
        entry.timestamp = std::string(Raw(kTimestamp));
        entry.epochMs = *epochMs;
        entry.kind = *kind;
        entry.role = Text(kRole);
        entry.editor = Text(kEditor);
        entry.portName = Text(kPort);
        entry.devicePath = Text(kDevice);
        entry.bytesSent = Bytes(kBytesSent);
        if (std::string report = Bytes(kReport); !report.empty()) {
            entry.report = std::move(report);
        }
        entry.verdict = Text(kVerdict);
        entry.message = Text(kMessage);
        entry.cause = Text(kCause);
        entry.systemError = Text(kSystemError);
        entry.command = Bytes(kCommand);
        return RepeaterCount(entry.repeaterCount);
    }

private:
    bool RepeaterCount(int32_t& count) const {
        const std::string_view raw = Raw(kRepeaters);
        if (raw.empty()) {
            return true;
        }
        const auto result = std::from_chars(raw.data(), raw.data() + raw.size(), count);
        return result.ec == std::errc() && result.ptr == raw.data() + raw.size() && count >= 0;
    }

    const std::vector<std::string_view>& fields;
    const std::vector<int>& columns;
};

bool Earlier(const JournalEntry& a, const JournalEntry& b) {
    return a.epochMs < b.epochMs;
}

// Files of days follow one another, so the entries are mostly in order already; an entry
// moves only when they are not.
void SortByTime(std::vector<JournalEntry>& entries) {
    if (!std::is_sorted(entries.begin(), entries.end(), Earlier)) {
        std::stable_sort(entries.begin(), entries.end(), Earlier);
    }
}

}  // namespace

CJournalFollower::CJournalFollower(std::string folder, std::string network)
    : folder(std::move(folder)), network(std::move(network)) {}

size_t CJournalFollower::PendingLines() const {
    return static_cast<size_t>(std::count_if(files.begin(), files.end(),
                                             [](const auto& file) { return file.second.pending; }));
}

std::vector<std::string> CJournalFollower::UnreadableFiles() const {
    return {};
}

std::vector<JournalEntry> CJournalFollower::ReadNew() {
    std::vector<std::string> names;
    readable = ListJournalFiles(folder, names);
    std::vector<JournalEntry> entries;
    for (const std::string& name : names) {
        ReadFile(name, files[name], entries);
    }
    SortByTime(entries);
    return entries;
}

void CJournalFollower::ReadFile(const std::string& name, FileState& state,
                                std::vector<JournalEntry>& out) {
    std::string& bytes = buffer;
    const off_t before = state.offset;
    if (!ReadFrom(folder + "/" + name, state.offset, bytes)) {
        return;
    }
    if (state.offset < before) {
        state = FileState{};
    }
    const size_t end = bytes.rfind('\n');
    const size_t complete = end == std::string::npos ? 0 : end + 1;
    state.pending = complete < bytes.size();
    ReadLines(std::string_view(bytes).substr(0, complete), state, out);
    state.offset += static_cast<off_t>(complete);
}

void CJournalFollower::ReadLines(std::string_view text, FileState& state,
                                 std::vector<JournalEntry>& out) {
    std::vector<std::string_view> fields;
    std::deque<std::string> unquoted;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!JournalParse::SplitFields(line, fields, unquoted)) {
            ++skipped;
            continue;
        }
        if (IsHeader(fields)) {
            state.columns = ColumnsOf(fields);
            state.fieldCount = fields.size();
            state.headerRead = true;
            continue;
        }
        if (!state.headerRead || fields.size() != state.fieldCount) {
            ++skipped;
            continue;
        }
        const EntryBuilder builder(fields, state.columns);
        if (!IsNetwork(builder.Raw(kNetwork), network)) {
            continue;
        }
        JournalEntry entry;
        entry.network = network;
        if (builder.Build(entry)) {
            out.push_back(std::move(entry));
        } else {
            ++skipped;
        }
    }
}

JournalScan ReadJournal(const std::vector<std::string>& folders, const std::string& network) {
    JournalScan scan;
    for (const std::string& folder : folders) {
        CJournalFollower follower(folder, network);
        std::vector<JournalEntry> entries = follower.ReadNew();
        if (!follower.FolderReadable()) {
            scan.unreadableFolders.push_back(folder);
            continue;
        }
        scan.folders.push_back(folder);
        scan.skippedLines += follower.SkippedLines() + follower.PendingLines();
        std::move(entries.begin(), entries.end(), std::back_inserter(scan.entries));
    }
    SortByTime(scan.entries);
    return scan;
}
