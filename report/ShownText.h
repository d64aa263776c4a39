#pragma once

#include <QString>
#include <cstdint>
#include <string>

// What the report and the sheet show of a text that came from the journal or a device:
// without the controls that would reorder it (bidi embeddings, overrides, isolates and
// marks) or act on the reader (C0 and C1 controls), a line break or a tab becoming a space.
QString ShownText(const std::string& utf8);
// The same, cut after `limit` characters with a note of how much is left to the journal.
QString ShownText(const std::string& utf8, qsizetype limit);

// An instant of the journal in the local time of whoever reads it, with that time's offset:
// "09/12/2026 01:05:03 +01:00". `fallback` (the line's own text) when the instant is unknown.
QString ShownTime(int64_t epochMs, const std::string& fallback);
