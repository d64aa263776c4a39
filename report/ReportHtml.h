#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "JournalEntry.h"

// The pieces every part of the report is written with, each escaped for HTML.
namespace ReportHtml {

// A journal's or a device's text as the report shows it.
QString Text(const std::string& utf8);
// The same, cut to what a table cell holds.
QString CellText(const std::string& utf8);
QString DateAndTime(int64_t epochMs, const std::string& timestamp);
QString DateAndTime(const JournalEntry& entry);
// "<li>label : value</li>"; `value` is HTML already.
QString Item(const char* label, const QString& value);
// "5, 7, 13", or "aucun".
QString IdList(const std::vector<int>& ids);
// The rows in tables of a few rows each, one after the other, each under `head` (the
// table's opening up to its body): Qt lays out a long table in time that grows with it.
QString Tables(const QString& head, const QStringList& rows);
// "<tr><td>a</td><td>b</td>…</tr>"; the cells are HTML already.
QString Row(const QStringList& cells);

}  // namespace ReportHtml
