#include "CEntryBuilder.h"

#include "JournalColumns.h"

bool CEntryBuilder::Run(JournalEntry& entry, bool refusingOnly) const {
    const std::vector<JournalColumns::Column>& all = JournalColumns::All();
    for (size_t c = 0; c < all.size(); ++c) {
        if (all[c].read && (all[c].refuses || !refusingOnly) && !all[c].read(Raw(c), entry)) {
            return false;
        }
    }
    return true;
}
