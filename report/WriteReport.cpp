#include "WriteReport.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <cerrno>

#include "CReportDocument.h"
#include "FileStatus.h"
#include "NetworkTexts.h"
#include "PageCuts.h"
#include "ShownText.h"
#include "version.h"

namespace {

constexpr int kPdfResolution = 96;  // document units as on a screen: the picture's pixels fit
constexpr int kFooterHeight = 24;
const QString kMapName = "carte.png";

bool EndsWith(const std::string& path, const std::string& extension) {
    return QString::fromStdString(path).endsWith(QString::fromStdString(extension),
                                                 Qt::CaseInsensitive);
}

// "rapport.pdf", not ".pdf" alone: a name made of its extension is a hidden file, not a report.
bool HasStem(const std::string& path, const std::string& extension) {
    const size_t slash = path.rfind('/');
    const size_t nameSize = path.size() - (slash == std::string::npos ? 0 : slash + 1);
    return nameSize > extension.size();
}

QString PngData(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + QString::fromLatin1(bytes.toBase64());
}

QByteArray Html(const CReportDocument& document) {
    return document.Html(PngData(document.MapImage())).toUtf8();
}

// Laid out in one long column and cut into pages between rows and lines, so that no table
// row is split across two pages.
void DrawPages(QTextDocument& text, QPdfWriter& writer, QPainter& painter) {
    const QRect area = writer.pageLayout().paintRectPixels(kPdfResolution);
    const QSizeF body(area.width(), area.height() - kFooterHeight);
    text.documentLayout()->setPaintDevice(&writer);
    text.setTextWidth(body.width());
    const std::vector<double> cuts = PageCuts(text, body.height());
    const int pages = static_cast<int>(cuts.size());
    double top = 0;
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        const double height = cuts[static_cast<size_t>(page)] - top;
        painter.save();
        painter.translate(0, -top);
        text.drawContents(&painter, QRectF(QPointF(0, top), QSizeF(body.width(), height)));
        painter.restore();
        painter.drawText(QRectF(0, body.height(), body.width(), kFooterHeight),
                         Qt::AlignRight | Qt::AlignBottom,
                         QString("Page %1 / %2").arg(page + 1).arg(pages));
        top = cuts[static_cast<size_t>(page)];
    }
}

// Made in memory, so that every byte reaches the file through one checked write.
QByteArray Pdf(const CReportDocument& document, const std::string& network) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter));
    writer.setTitle(QString::fromUtf8(NetworkTexts::kReportTitle) + " : " + ShownText(network));
    writer.setCreator("Zav7305 " + QString::fromStdString(ToolVersion()));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return {};
    }
    QTextDocument text;
    text.addResource(QTextDocument::ImageResource, QUrl(kMapName), document.MapImage());
    text.setHtml(document.Html(kMapName));
    DrawPages(text, writer, painter);
    return painter.end() ? bytes : QByteArray();
}

int Write(const std::string& path, const QByteArray& bytes, CReplacingFile::Mode mode,
          std::string& error) {
    const int status =
        bytes.isEmpty()
            ? ENOMEM
            : ReplaceFile(path, std::string_view(bytes.constData(), bytes.size()), mode);
    if (status == FILE_OK) {
        return REPORT_OK;
    }
    error = std::string(NetworkTexts::kReportNotWritten) + " " + path + " : " +
            FileStatusReason(status) + ".";
    return status == FILE_REFUSED_EXISTS ? REPORT_EXISTS : REPORT_WRITE_FAILED;
}

}  // namespace

std::string ToolVersion() {
    return zav::version::kProductVersion;
}

int WriteReport(const ReportInput& input, const std::string& path, std::string& error,
                CReplacingFile::Mode mode) {
    const bool pdf = EndsWith(path, ".pdf");
    const bool html = EndsWith(path, ".html") || EndsWith(path, ".htm");
    if (!pdf && !html) {
        error = "Le rapport s'écrit en PDF (.pdf) ou en HTML (.html) : " + path;
        return REPORT_BAD_EXTENSION;
    }
    if (!HasStem(path, pdf ? ".pdf" : EndsWith(path, ".html") ? ".html" : ".htm")) {
        error = "Le rapport doit avoir un nom avant son extension : " + path;
        return REPORT_BAD_EXTENSION;
    }
    const CReportDocument document(input);
    if (document.Empty()) {
        error = "Le réseau « " + input.network + " » n'a aucun échange dans le journal.";
        return REPORT_UNKNOWN_NETWORK;
    }
    return Write(path, pdf ? Pdf(document, input.network) : Html(document), mode, error);
}
