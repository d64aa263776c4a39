#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "JournalEntry.h"

// Reads an entry out of a record line split into its fields, by the columns its file's header
// gave them.
class CEntryBuilder {
public:
    CEntryBuilder(const std::vector<std::string_view>& fields, const std::vector<int>& columns)
        : fields(fields), columns(columns) {}

    std::string_view Raw(size_t column) const {
        const int at = columns[column];
        return at < 0 ? std::string_view() : fields[static_cast<size_t>(at)];
    }

    // False when the line cannot be an exchange of the journal.
    bool Build(JournalEntry& entry) const;
    // The same answer, from the columns that can refuse a line: `entry` holds only what their
    // checks read (the instant, not its text).
    bool Check(JournalEntry& entry) const;

private:
    const std::vector<std::string_view>& fields;
    const std::vector<int>& columns;
};
