#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ExchangeRecord.h"

// One journal line read back.
struct JournalEntry {
    std::string timestamp;  // as written, "2026-12-09T01:05:03.042+01:00"
    int64_t epochMs = 0;    // the same instant, for merging folders by time
    std::string role, editor, portName, devicePath;
    ExchangeKind kind = ExchangeKind::ReadConfig;
    std::string bytesSent;  // device bytes, unescaped
    std::string command;    // the frame or modem command set out to write; empty in old journals
    std::optional<std::string> report;                 // device bytes, unescaped; none when empty
    std::string verdict, message, cause, systemError;  // UTF-8
    bool cancelled = false;      // the user ended its wait; the message as written says so
    std::string network;         // empty in journals written before networks were named
    int32_t repeaterCount = -1;  // -1 when the line does not say
    std::string fileName;        // the day file it was read from, e.g. "2026-12-09.csv"
    size_t lineNumber = 0;       // its line in that file, from 1
    std::string machine;         // the one its file is named after; empty for older names
    // The same for the same record wherever a copy of its file is read: from its machine, its
    // line's bytes and, for a line repeated as it stands, which repeat it is.
    uint64_t identity = 0;
};
