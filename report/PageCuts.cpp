#include "PageCuts.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <algorithm>

namespace {

void AddBlockBreaks(const QAbstractTextDocumentLayout& layout, const QTextBlock& block,
                    bool mayCutAbove, std::vector<double>& breaks) {
    const QRectF box = layout.blockBoundingRect(block);
    if (mayCutAbove) {
        breaks.push_back(box.top());
    }
    if (block.blockFormat().headingLevel() > 0 || block.layout() == nullptr) {
        return;
    }
    const QTextLayout& lines = *block.layout();
    for (int i = 0; i < lines.lineCount(); ++i) {
        const QTextLine line = lines.lineAt(i);
        breaks.push_back(box.top() + line.y() + line.height());
    }
}

// The top and bottom of what row `row`'s cells hold.
std::pair<double, double> RowExtent(const QAbstractTextDocumentLayout& layout,
                                    const QTextTable& table, int row) {
    double top = 0;
    double bottom = 0;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        const QRectF first = layout.blockBoundingRect(cell.firstCursorPosition().block());
        const QRectF last = layout.blockBoundingRect(cell.lastCursorPosition().block());
        top = column == 0 ? first.top() : std::min(top, first.top());
        bottom = column == 0 ? last.bottom() : std::max(bottom, last.bottom());
    }
    return {top, bottom};
}

void AddTableBreaks(const QAbstractTextDocumentLayout& layout, const QTextTable& table,
                    bool mayCutAbove, std::vector<double>& breaks) {
    const QRectF box = layout.frameBoundingRect(const_cast<QTextTable*>(&table));
    if (mayCutAbove) {
        breaks.push_back(box.top());
    }
    breaks.push_back(box.bottom());
    const int headingRows = table.format().headerRowCount();
    for (int row = std::max(1, headingRows + 1); row < table.rows(); ++row) {
        const double above = RowExtent(layout, table, row - 1).second;
        const double below = RowExtent(layout, table, row).first;
        breaks.push_back((above + below) / 2);
    }
}

std::vector<double> Breaks(const QTextDocument& text) {
    const QAbstractTextDocumentLayout& layout = *text.documentLayout();
    std::vector<double> breaks;
    // A heading stays with what it heads: no cut just below it.
    bool afterHeading = false;
    for (QTextFrame::iterator it = text.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (const QTextTable* table = qobject_cast<QTextTable*>(it.currentFrame())) {
            AddTableBreaks(layout, *table, !afterHeading, breaks);
            afterHeading = false;
        } else if (const QTextBlock block = it.currentBlock(); block.isValid()) {
            AddBlockBreaks(layout, block, !afterHeading, breaks);
            // The empty block the layout puts before a table keeps the heading with it.
            afterHeading =
                block.blockFormat().headingLevel() > 0 || (afterHeading && block.text().isEmpty());
        }
    }
    std::sort(breaks.begin(), breaks.end());
    return breaks;
}

}  // namespace

std::vector<double> PageCuts(const QTextDocument& text, double pageHeight) {
    const double end = text.documentLayout()->documentSize().height();
    if (pageHeight <= 0) {
        return {end};
    }
    const std::vector<double> breaks = Breaks(text);
    std::vector<double> cuts;
    for (double start = 0; start < end;) {
        const double limit = start + pageHeight;
        if (limit >= end) {
            cuts.push_back(end);
            break;
        }
        auto after = std::upper_bound(breaks.begin(), breaks.end(), limit);
        const double cut =
            after != breaks.begin() && *std::prev(after) > start ? *std::prev(after) : limit;
        cuts.push_back(cut);
        start = cut;
    }
    return cuts;
}
