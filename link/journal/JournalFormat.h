#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "ExchangeRecord.h"

// Who ran an exchange and where, as the journal names them (UTF-8).
struct JournalContext {
    std::string role;      // "Client" or "Administateur"
    std::string editor;    // e.g. "Répéteur", "ligne de commande"
    std::string portName;  // e.g. "COM900"
};

// One journal record per line: CSV (RFC 4180), every field quoted, UTF-8. Device bytes are
// Latin-1 turned into UTF-8, and control bytes are written as \n, \r, \t, \\ or \xHH, so a
// record never spans lines and the exact bytes can be read back.
namespace JournalFormat {

// How many fields the header and every record hold.
size_t FieldCount();
std::string HeaderLine();
std::string RecordLine(const JournalContext& context, const ExchangeRecord& record,
                       const timespec& when);

// Local time with its offset, e.g. "2026-12-09T01:05:03.042+01:00".
std::string Timestamp(const timespec& when);
// The day's file name in local time, e.g. "2026-12-09.csv".
std::string FileName(const timespec& when);

std::string EscapeDeviceBytes(std::string_view bytes);
std::string EscapeText(std::string_view utf8);
std::string Quote(std::string_view field);

}  // namespace JournalFormat
