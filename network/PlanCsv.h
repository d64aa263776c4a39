#pragma once

#include <string>
#include <string_view>
#include <vector>

// The spreadsheet text a site plan is written in: one record a line, fields split by `;` or
// `,`, a field in double quotes when it holds the separator or a quote (doubled inside).
namespace PlanCsv {

// The separator a line uses: the first `;` or `,` outside quotes; '\0' when it has neither.
char SeparatorOf(std::string_view line);
// The fields of one line without its line end; an unquoted field loses the blanks around it.
// False when a quote is left open.
bool SplitLine(std::string_view line, char separator, std::vector<std::string>& fields);
// The field as it must be written to read back the same.
std::string Quoted(std::string_view field, char separator);

// For matching names: lower case, accents off, blanks around trimmed ("Rôle " → "role").
std::string Folded(std::string_view text);
bool IsUtf8(std::string_view text);
// A C0 or C1 control character or DEL: such text cannot stand in a label.
bool HasControl(std::string_view utf8);

// User text quoted in a reason: control characters as "?", cut after 40 bytes with "…".
std::string Shown(std::string_view text);

}  // namespace PlanCsv
