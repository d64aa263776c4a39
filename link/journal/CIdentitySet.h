#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The identities of the records taken, to take each once: a year of a shared folder holds
// hundreds of thousands of them, and a set of nodes would allocate one for each. One array,
// probed in line; the identities are hashes already, spread evenly.
class CIdentitySet {
public:
    // False when `identity` was there already.
    bool Insert(uint64_t identity);
    size_t Size() const { return count; }

private:
    void Grow();
    bool Place(uint64_t identity);

    // 0 marks a free slot; the identity 0 is kept apart.
    std::vector<uint64_t> cells;
    size_t count = 0;
    bool hasZero = false;
};
