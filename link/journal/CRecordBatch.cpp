#include "CRecordBatch.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Large enough that a year of records needs few blocks; a longer line gets a block of its own.
constexpr size_t kBlockBytes = size_t{4} << 20;

}  // namespace

void CRecordBatch::StartSource(Source source) {
    sources.push_back(std::move(source));
}

size_t CRecordBatch::Footprint(size_t lineSize) {
    constexpr size_t kAlign = alignof(Record);
    return (sizeof(Record) + lineSize + kAlign - 1) / kAlign * kAlign;
}

void CRecordBatch::Add(int64_t epochMs, std::string_view line, uint64_t identity,
                       size_t lineNumber) {
    const size_t footprint = Footprint(line.size());
    if (blocks.empty() || blocks.back().buffer.Size() - blocks.back().used < footprint) {
        blocks.push_back({CLargeBuffer(std::max(kBlockBytes, footprint)), 0});
    }
    Block& block = blocks.back();
    char* at = block.buffer.Data() + block.used;
    char* bytes = at + sizeof(Record);
    if (!line.empty()) {
        std::memcpy(bytes, line.data(), line.size());
    }
    new (at) Record{epochMs, {bytes, line.size()}, identity, lineNumber, sources.size() - 1};
    block.used += footprint;
    inOrder = inOrder && (count == 0 || epochMs >= latestMs);
    latestMs = epochMs;
    ++count;
}

std::vector<const CRecordBatch::Record*> CRecordBatch::TimeOrder() const {
    // The instants beside the records, so that sorting reads no record; the order of adding
    // breaks ties.
    struct Key {
        int64_t epochMs;
        size_t added;
        const Record* record;
    };
    std::vector<Key> keys;
    keys.reserve(count);
    ForEachAdded([&keys](const Record& record) {
        keys.push_back({record.epochMs, keys.size(), &record});
    });
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.epochMs != b.epochMs ? a.epochMs < b.epochMs : a.added < b.added;
    });
    std::vector<const Record*> order(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        order[i] = keys[i].record;
    }
    return order;
}
