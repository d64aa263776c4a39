#include "CIdentitySet.h"

#include <cstring>
#include <utility>

namespace {

constexpr size_t kFirstSize = 1024;  // a power of two, as every size after it
// From this many slots on, the array is one large buffer: the set of a year of records is
// written all over at once, where a fault for each small page would cost more than the set.
constexpr size_t kLargeSlots = (size_t{2} << 20) / sizeof(uint64_t);

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
    if ((count + 1) * 2 > slotCount) {
        Resize(slotCount == 0 ? kFirstSize : slotCount * 2);
    }
    if (!Place(identity)) {
        return false;
    }
    ++count;
    return true;
}

void CIdentitySet::Prefetch(uint64_t identity) {
    if (slotCount != 0) {
        __builtin_prefetch(Cells() + Home(identity, slotCount - 1));
    }
}

bool CIdentitySet::Place(uint64_t identity) {
    uint64_t* cells = Cells();
    const size_t mask = slotCount - 1;
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

void CIdentitySet::Resize(size_t newSlots) {
    CLargeBuffer oldLargeCells = std::move(largeCells);
    std::vector<uint64_t> oldSmallCells = std::move(smallCells);
    const uint64_t* old = oldLargeCells.Data() != nullptr
                              ? reinterpret_cast<const uint64_t*>(oldLargeCells.Data())
                              : oldSmallCells.data();
    const size_t oldSlots = slotCount;
    if (newSlots >= kLargeSlots) {
        largeCells = CLargeBuffer(newSlots * sizeof(uint64_t));
        std::memset(largeCells.Data(), 0, newSlots * sizeof(uint64_t));
    } else {
        smallCells.assign(newSlots, 0);
    }
    slotCount = newSlots;
    for (size_t at = 0; at < oldSlots; ++at) {
        if (old[at] != 0) {
            Place(old[at]);
        }
    }
}

void CIdentitySet::Reserve(size_t identities) {
    size_t wanted = kFirstSize;
    while (wanted < (identities + 1) * 2) {
        wanted *= 2;
    }
    if (wanted > slotCount) {
        Resize(wanted);
    }
}

// The slots after the freed one that a probe reached only through it move back into it, so that
// every probe still ends at a free slot past what it looks for, never before.
bool CIdentitySet::Erase(uint64_t identity) {
    if (identity == 0) {
        const bool erased = hasZero;
        hasZero = false;
        count -= erased ? 1 : 0;
        return erased;
    }
    if (slotCount == 0) {
        return false;
    }
    uint64_t* cells = Cells();
    const size_t mask = slotCount - 1;
    size_t hole = Home(identity, mask);
    while (cells[hole] != identity) {
        if (cells[hole] == 0) {
            return false;
        }
        hole = (hole + 1) & mask;
    }
    for (size_t at = (hole + 1) & mask; cells[at] != 0; at = (at + 1) & mask) {
        const size_t home = Home(cells[at], mask);
        // Whether `home` lies in (hole, at], going round the end of the array.
        const bool pastHole = hole <= at ? home > hole && home <= at : home > hole || home <= at;
        if (!pastHole) {
            cells[hole] = cells[at];
            hole = at;
        }
    }
    cells[hole] = 0;
    --count;
    return true;
}
