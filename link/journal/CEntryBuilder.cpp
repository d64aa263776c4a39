#include "CEntryBuilder.h"

#include "JournalColumns.h"

bool CEntryBuilder::Build(JournalEntry& entry) const {
    const std::vector<JournalColumns::Column>& all = JournalColumns::All();
    for (size_t c = 0; c < all.size(); ++c) {
        if (all[c].read && !all[c].read(Raw(c), entry)) {
            return false;
        }
    }
    return true;
}

bool CEntryBuilder::Check(JournalEntry& entry) const {
    const std::vector<JournalColumns::Column>& all = JournalColumns::All();
    for (const size_t c : JournalColumns::Refusing()) {
        if (!all[c].check(Raw(c), entry)) {
            return false;
        }
    }
    return true;
}
