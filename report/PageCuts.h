#pragma once

#include <vector>

class QTextDocument;

// Where each page of a document laid out in one long column ends, `pageHeight` at most
// below the end of the page before: between two lines of text, before a heading rather than
// after it, between two rows of a table (never between a table's heading row and its first
// row). Only a row or a line taller than a page is cut where the page ends.
std::vector<double> PageCuts(const QTextDocument& text, double pageHeight);
