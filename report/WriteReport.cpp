#include "WriteReport.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include "CReportDocument.h"
#include "version.h"

namespace {

constexpr int kPdfResolution = 96;  // document units as on a screen: the picture's pixels fit
constexpr int kFooterHeight = 24;
const QString kMapName = "carte.png";

bool EndsWith(const std::string& path, const std::string& extension) {
    return QString::fromStdString(path).endsWith(QString::fromStdString(extension),
                                                 Qt::CaseInsensitive);
}

QString PngData(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + QString::fromLatin1(bytes.toBase64());
}

int WriteHtml(const CReportDocument& document, const std::string& path, std::string& error) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = "Impossible d'écrire le rapport " + path + " : " + file.errorString().toStdString();
        return REPORT_WRITE_FAILED;
    }
    const QByteArray html = document.Html(PngData(document.MapImage())).toUtf8();
    if (file.write(html) != html.size() || !file.flush()) {
        error = "Impossible d'écrire le rapport " + path + " : " + file.errorString().toStdString();
        return REPORT_WRITE_FAILED;
    }
    return REPORT_OK;
}

void DrawPages(QTextDocument& text, QPdfWriter& writer, QPainter& painter) {
    const QRect area = writer.pageLayout().paintRectPixels(kPdfResolution);
    const QSizeF body(area.width(), area.height() - kFooterHeight);
    text.documentLayout()->setPaintDevice(&writer);
    text.setPageSize(body);
    const int pages = text.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.save();
        painter.translate(0, -page * body.height());
        text.drawContents(&painter, QRectF(QPointF(0, page * body.height()), body));
        painter.restore();
        painter.drawText(QRectF(0, body.height(), body.width(), kFooterHeight),
                         Qt::AlignRight | Qt::AlignBottom,
                         QString("Page %1 / %2").arg(page + 1).arg(pages));
    }
}

int WritePdf(const CReportDocument& document, const std::string& network, const std::string& path,
             std::string& error) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter));
    writer.setTitle(QString::fromUtf8("Rapport de mise en service : ") +
                    QString::fromStdString(network));
    writer.setCreator("Zav7305 " + QString::fromStdString(ToolVersion()));
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = "Impossible d'écrire le rapport " + path + ".";
        return REPORT_WRITE_FAILED;
    }
    QTextDocument text;
    text.addResource(QTextDocument::ImageResource, QUrl(kMapName), document.MapImage());
    text.setHtml(document.Html(kMapName));
    DrawPages(text, writer, painter);
    if (!painter.end()) {
        error = "Impossible d'écrire le rapport " + path + ".";
        return REPORT_WRITE_FAILED;
    }
    return REPORT_OK;
}

}  // namespace

std::string ToolVersion() {
    return zav::version::kProductVersion;
}

int WriteReport(const ReportInput& input, const std::string& path, std::string& error) {
    const CReportDocument document(input);
    if (document.Empty()) {
        error = "Le réseau « " + input.network + " » n'a aucun échange dans le journal.";
        return REPORT_UNKNOWN_NETWORK;
    }
    if (EndsWith(path, ".pdf")) {
        return WritePdf(document, input.network, path, error);
    }
    if (EndsWith(path, ".html") || EndsWith(path, ".htm")) {
        return WriteHtml(document, path, error);
    }
    error = "Le rapport s'écrit en PDF (.pdf) ou en HTML (.html) : " + path;
    return REPORT_BAD_EXTENSION;
}
