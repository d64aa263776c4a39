#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "CLargeBuffer.h"

// The identities of the records taken, to take each once: a year of a shared folder holds
// hundreds of thousands of them, and a set of nodes would allocate one for each. One array,
// probed in line; the identities are hashes already, spread evenly.
class CIdentitySet {
public:
    // False when `identity` was there already.
    bool Insert(uint64_t identity);
    // False when `identity` was not there.
    bool Erase(uint64_t identity);
    // Room for `identities` in all, so that filling it moves none of them.
    void Reserve(size_t identities);
    size_t Size() const { return count; }
    // Where `identity` would be is read ahead, for an Insert to come.
    void Prefetch(uint64_t identity);

private:
    void Resize(size_t newSlots);
    bool Place(uint64_t identity);

    // 0 marks a free slot; the identity 0 is kept apart. The slots lie in one of the two below.
    uint64_t* Cells() {
        return largeCells.Data() != nullptr ? reinterpret_cast<uint64_t*>(largeCells.Data())
                                            : smallCells.data();
    }
    size_t slotCount = 0;
    std::vector<uint64_t> smallCells;
    CLargeBuffer largeCells;
    size_t count = 0;
    bool hasZero = false;
};
