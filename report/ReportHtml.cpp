#include "ReportHtml.h"

#include "ShownText.h"

namespace ReportHtml {

namespace {

// A cell holds at most this much of a journal's text: a row taller than a few pages makes
// the PDF's layout slow down with every page after it, and the journal keeps the rest.
constexpr qsizetype kCellCharacters = 2000;
constexpr int kRowsPerTable = 10;

}  // namespace

QString Text(const std::string& utf8) {
    return ShownText(utf8).toHtmlEscaped();
}

QString CellText(const std::string& utf8) {
    return ShownText(utf8, kCellCharacters).toHtmlEscaped();
}

QString DateAndTime(int64_t epochMs, const std::string& timestamp) {
    return ShownTime(epochMs, timestamp).toHtmlEscaped();
}

QString DateAndTime(const JournalEntry& entry) {
    return DateAndTime(entry.epochMs, entry.timestamp);
}

QString Item(const char* label, const QString& value) {
    return "<li>" + QString::fromUtf8(label) + " : " + value + "</li>";
}

QString IdList(const std::vector<int>& ids) {
    QStringList parts;
    for (const int id : ids) {
        parts << QString::number(id);
    }
    return parts.isEmpty() ? QString::fromUtf8("aucun") : parts.join(", ");
}

QString Tables(const QString& head, const QStringList& rows) {
    const QString tail = QStringLiteral("</tbody></table>");
    QString html;
    for (qsizetype at = 0; at < rows.size(); at += kRowsPerTable) {
        html += head + rows.mid(at, kRowsPerTable).join(QString()) + tail;
    }
    return html;
}

QString Row(const QStringList& cells) {
    return "<tr><td>" + cells.join("</td><td>") + "</td></tr>";
}

}  // namespace ReportHtml
