#pragma once

#include <sys/types.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "JournalLines.h"

// Two hashes into one, for the identities of records and the checksum of what a file held.
inline uint64_t MixHash(uint64_t seed, uint64_t value) {
    return seed ^ (value + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2));
}

// The hash of a line's bytes, for its identity, and what tells whether a line read again is the
// one read before: each step mixes a word in without losing what came before it, so that two
// lines of one length that differ in a single word never share it.
inline uint64_t LineChecksum(std::string_view line) {
    uint64_t sum = line.size();
    size_t at = 0;
    for (; at + sizeof(uint64_t) <= line.size(); at += sizeof(uint64_t)) {
        uint64_t word = 0;
        std::memcpy(&word, line.data() + at, sizeof word);
        sum = (std::rotl(sum, 23) ^ word) * 0x9E3779B97F4A7C15ULL;
    }
    uint64_t tail = 0;
    if (at < line.size()) {
        std::memcpy(&tail, line.data() + at, line.size() - at);
    }
    return (std::rotl(sum, 23) ^ tail) * 0x9E3779B97F4A7C15ULL;
}

// A record a reading took from a file, found again by its line when the file is read once more.
struct TakenLine {
    uint64_t identity = 0;
    size_t lineNumber = 0;
};

// What a first reading of a file found, without its lines: enough to read the records it took
// again, one file at a time, and to tell whether the file still holds them.
struct FilePlan {
    std::string name;
    std::string machine;
    LineCursor start;     // where the reading began, past any cut it found
    size_t baseLine = 0;  // the number of the line before the first one read
    off_t end = 0;        // the cursor after the reading
    dev_t device = 0;     // of the file read
    ino_t inode = 0;
    size_t firstTaken = 0;  // where its records are among those of the reading
    size_t takenCount = 0;
    // From which taken record on each header's columns hold.
    std::vector<std::pair<size_t, std::vector<int>>> layouts;
    uint64_t checksum = 0;  // of the lines taken
    int64_t firstMs = 0;    // of the records taken
    int64_t lastMs = 0;
    bool inOrder = true;  // each record taken no earlier than the one before it
    size_t skipped = 0;
    size_t repeated = 0;
};
