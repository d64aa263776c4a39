#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CLargeBuffer.h"

// The records one reading of a folder took, kept as their lines until every file is read, then
// handed over in time order: an entry is built for each only then, in storage reused from one to
// the next, instead of one held per record and sorted with the others. Each record and its line
// (copied out of the piece it was read in) lie side by side in a few large blocks.
class CRecordBatch {
public:
    // Where lines come from: a file, with the columns its header gave them.
    struct Source {
        std::string fileName;
        std::string machine;
        std::vector<int> columns;
    };
    struct Record {
        int64_t epochMs = 0;
        std::string_view line;  // just after the record, in the same block
        uint64_t identity = 0;
        size_t lineNumber = 0;
        size_t source = 0;  // index into Sources()
    };

    // The source of the records added from now on.
    void StartSource(Source source);
    void Add(int64_t epochMs, std::string_view line, uint64_t identity, size_t lineNumber);

    const std::vector<Source>& Sources() const { return sources; }
    size_t Size() const { return count; }
    // By the instant; records of one instant in the order they were added (their files', then
    // their lines' order). Each record once.
    template <class Take>
    void ForEachInTimeOrder(Take take) const {
        if (inOrder) {
            ForEachAdded(take);
            return;
        }
        for (const Record* record : TimeOrder()) {
            take(*record);
        }
    }

private:
    struct Block {
        CLargeBuffer buffer;
        size_t used = 0;
    };

    template <class Take>
    void ForEachAdded(Take take) const {
        for (const Block& block : blocks) {
            for (size_t at = 0; at < block.used; at += Footprint(AtIn(block, at).line.size())) {
                take(AtIn(block, at));
            }
        }
    }
    static const Record& AtIn(const Block& block, size_t at) {
        return *reinterpret_cast<const Record*>(block.buffer.Data() + at);
    }
    static size_t Footprint(size_t lineSize);
    std::vector<const Record*> TimeOrder() const;

    std::vector<Source> sources;
    std::vector<Block> blocks;
    size_t count = 0;
    bool inOrder = true;  // each record added so far no earlier than the one before it
    int64_t latestMs = 0;
};
