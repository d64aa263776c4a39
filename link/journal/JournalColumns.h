#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ExchangeRecord.h"
#include "Frames.h"
#include "JournalEntry.h"

struct JournalContext;

// The journal's columns, each with how a record fills it and how an entry is read back from
// it: the writer, the header and the reader all take them from the one list below.
namespace JournalColumns {

// What one record's fields are written from.
struct RecordInput {
    const JournalContext& context;
    const ExchangeRecord& record;
    const timespec& when;
    const ReportValues& values;
};

struct Column {
    std::string header;
    std::function<std::string(const RecordInput&)> write;
    // Fills the entry from the field as written (empty when a file has no such column), over
    // whatever an entry read before left there; false when the line cannot be an exchange of the
    // journal. None for a column only written.
    std::function<bool(std::string_view field, JournalEntry&)> read;
    // For a column whose read can refuse a line, the only ones a reader sorting lines out needs to
    // run: the same answer, from no more of the field than that reader needs. None for the others.
    bool (*check)(std::string_view field, JournalEntry&) = nullptr;
};

// The first column: a line that starts with it is a header.
inline constexpr char kTimestamp[] = "horodatage";
// The column a reader picks a network's records by.
inline constexpr char kNetwork[] = "réseau";

// In header order.
const std::vector<Column>& All();
// Where the columns with a check are in All(), in header order.
const std::vector<size_t>& Refusing();
// Where `header` is in All(); All().size() when it is none of them.
size_t IndexOf(std::string_view header);

}  // namespace JournalColumns
