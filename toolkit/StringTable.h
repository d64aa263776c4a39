#pragma once

#include <QString>

// The program's string table (res/strings.json). The validation messages of data exchange
// live there too.
enum StringId : int {
    IDS_ABOUTBOX = 101,
    IDS_PARSE_INT = 61704,          // "Tapez un nombre entier."
    IDS_PARSE_INT_RANGE = 61705,    // "Tapez un nombre entier compris entre %1 et %2."
    IDS_PARSE_STRING_SIZE = 61708,  // "Tapez %1 caractères au maximum."
};

// Empty when the string is not in the table.
QString LoadString(int id);
