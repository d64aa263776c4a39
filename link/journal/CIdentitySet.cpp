#include "CIdentitySet.h"

namespace {

constexpr size_t kFirstSize = 1024;  // a power of two, as every size after it

// Where an identity's probe starts: its bits mixed once more, so that identities alike in
// their low bits do not pile up.
size_t Home(uint64_t identity, size_t mask) {
    identity ^= identity >> 31;
    identity *= 0x7FB5D329728EA185ULL;
    identity ^= identity >> 27;
    return static_cast<size_t>(identity) & mask;
}

}  // namespace

bool CIdentitySet::Insert(uint64_t identity) {
    if (identity == 0) {
        const bool added = !hasZero;
        hasZero = true;
        count += added ? 1 : 0;
        return added;
    }
    // At most half full, so that a probe ends soon.
    if ((count + 1) * 2 > cells.size()) {
        Grow();
    }
    if (!Place(identity)) {
        return false;
    }
    ++count;
    return true;
}

bool CIdentitySet::Place(uint64_t identity) {
    const size_t mask = cells.size() - 1;
    for (size_t at = Home(identity, mask);; at = (at + 1) & mask) {
        if (cells[at] == identity) {
            return false;
        }
        if (cells[at] == 0) {
            cells[at] = identity;
            return true;
        }
    }
}

void CIdentitySet::Grow() {
    std::vector<uint64_t> old;
    old.swap(cells);
    cells.assign(old.empty() ? kFirstSize : old.size() * 2, 0);
    for (const uint64_t identity : old) {
        if (identity != 0) {
            Place(identity);
        }
    }
}
