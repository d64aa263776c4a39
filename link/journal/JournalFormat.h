#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ExchangeRecord.h"

// Who ran an exchange and where, as the journal names them (UTF-8).
struct JournalContext {
    JournalContext() = default;
    JournalContext(std::string role, std::string editor, std::string portName,
                   std::string network = {}, int32_t repeaterCount = -1)
        : role(std::move(role)),
          editor(std::move(editor)),
          portName(std::move(portName)),
          network(std::move(network)),
          repeaterCount(repeaterCount) {}

    std::string role;      // "Client" or "Administateur"
    std::string editor;    // e.g. "Répéteur", "ligne de commande"
    std::string portName;  // e.g. "COM900"
    std::string network;   // the site being commissioned, e.g. "Station Nord"; empty when unnamed
    int32_t repeaterCount = -1;  // the setup dialog's count; -1 when not known
};

// One journal record per line: CSV (RFC 4180), every field quoted, UTF-8. Device bytes are
// Latin-1 turned into UTF-8, and control bytes are written as \n, \r, \t, \\ or \xHH, so a
// record never spans lines and the exact bytes can be read back. A field that a spreadsheet
// would run as a formula (one starting with =, +, - or @) starts with that character's \xHH
// instead: every reader, older ones included, gives the text back as it was.
namespace JournalFormat {

// No record is longer: a network name is at most a command-line argument (128 KiB) or a name
// field's 32,767 characters, each byte escaped at most fourfold, and every other field is a
// frame, a report or a fixed text. A reader takes a longer line for no record without holding it.
inline constexpr size_t kMaxRecordBytes = size_t{1} << 20;
// Far more columns than any layout of the journal has had.
inline constexpr size_t kMaxFields = 256;
// A program that saved a journal file may have put one first; readers step over it.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The name of the program's own folder under the user's data or settings folder.
inline constexpr char kProgramFolder[] = "zav7305";
// The journal names customers' networks: its folders are the user's alone.
inline constexpr unsigned kFolderMode = 0700;

// True for a path that starts at the root; false for none.
inline bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

// How many fields the header and every record hold.
size_t FieldCount();
std::string HeaderLine();
// The column names in header order (JournalColumns lists the columns).
const std::vector<std::string>& ColumnNames();
std::string RecordLine(const JournalContext& context, const ExchangeRecord& record,
                       const timespec& when);

// Local time with its offset, e.g. "2026-12-09T01:05:03.042+01:00".
std::string Timestamp(const timespec& when);
// This machine's name as its journal files carry it: $ZAV7305_MACHINE when set, else the
// host's name, made safe for a file name by SafeMachineName.
std::string MachineName();
// Lowercase ASCII letters, digits and '-', at most kMaxMachineLength characters, never only
// digits (a day's part number) nor a word a sync tool marks its conflict copies with; "poste"
// when nothing is left.
std::string SafeMachineName(std::string_view raw);
inline constexpr size_t kMaxMachineLength = 32;

// This machine's file of the day in local time, e.g. "2026-12-09.poste-1.csv".
std::string FileName(const timespec& when);
// The day's `part`-th file of this machine: "2026-12-09.poste-1.2.csv" for 2.
std::string FileName(const timespec& when, int part);
// The day's `part`-th file of `machine`; without a machine, the name journals had before
// machines were named: "2026-12-09.csv", "2026-12-09.2.csv".
std::string FileName(const timespec& when, std::string_view machine, int part);
// True for the names FileName writes, whatever the day, machine and part, older ones included.
bool IsFileName(std::string_view name);
// The machine a journal file's name carries; empty for the older names and for other files.
std::string_view MachineOf(std::string_view fileName);

// "émission", "lecture", "émission modem", "lecture modem".
const char* KindName(ExchangeKind kind);

std::string EscapeDeviceBytes(std::string_view bytes);
std::string EscapeText(std::string_view utf8);
std::string Quote(std::string_view field);

}  // namespace JournalFormat
