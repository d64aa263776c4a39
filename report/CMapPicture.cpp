#include "CMapPicture.h"

#include <QPainter>

#include <array>

#include "MapTexts.h"

namespace {

constexpr int kColumns = 20;
constexpr int kCellWidth = 33;
constexpr int kCellHeight = 26;
constexpr int kModemTop = 12 * kCellHeight + 10;
constexpr int kLegendTop = kModemTop + kCellHeight + 10;
constexpr int kLegendHeight = 20;
constexpr int kLegendPadding = 12;
constexpr int kWidth = kColumns * kCellWidth + 1;

QColor FillOf(DeviceState state) {
    const Rgb& fill = StateInfo(state).fill;
    return QColor(fill.red, fill.green, fill.blue);
}

QString Mark(DeviceState state) {
    return QString::fromStdString(StateMark(state));
}

}  // namespace

CMapPicture::CMapPicture(const CNetworkMap& map, int repeaterCount)
    : map(map), repeaterCount(repeaterCount) {}

QImage CMapPicture::Render() const {
    // Room for the legend on two rows, and the frames' line under it.
    QImage image(kWidth, kLegendTop + kLegendHeight * 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    for (int id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        const int at = id - 1;
        const QRect box(at % kColumns * kCellWidth, at / kColumns * kCellHeight, kCellWidth,
                        kCellHeight);
        DrawCell(painter, box, QString::number(id), map.Device(id),
                 map.IsRepeater(id, repeaterCount));
    }
    for (int param = 1; param <= kModemParamCount; ++param) {
        const QRect box((param - 1) * kCellWidth * 2, kModemTop, kCellWidth * 2, kCellHeight);
        DrawCell(painter, box, QString::fromStdString(ModemName(param)), map.ModemParam(param),
                 false);
    }
    DrawLegend(painter, kLegendTop);
    return image;
}

void CMapPicture::DrawCell(QPainter& painter, const QRect& box, const QString& label,
                           const MapCell& cell, bool repeater) const {
    painter.fillRect(box.adjusted(1, 1, -1, -1), FillOf(cell.state));
    painter.setPen(QPen(repeater ? Qt::black : Qt::gray, repeater ? 2 : 1));
    painter.drawRect(box.adjusted(1, 1, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(2, 1, -2, -box.height() / 2), Qt::AlignCenter, label);
    painter.drawText(box.adjusted(2, box.height() / 2, -2, -1), Qt::AlignCenter, Mark(cell.state));
}

void CMapPicture::DrawLegend(QPainter& painter, int top) const {
    const std::array<DeviceState, kDeviceStateCount> states = LegendStates();
    const std::array<std::string, kDeviceStateCount> items = LegendItems();
    // Each box as wide as its words, so that the longest is never cut; a box that would pass
    // the picture's edge starts the second row.
    int left = 0;
    int row = top;
    for (size_t i = 0; i < states.size(); ++i) {
        const QString words = QString::fromStdString(items[i]);
        const int width = painter.fontMetrics().horizontalAdvance(words) + kLegendPadding;
        if (left > 0 && left + width > kWidth) {
            left = 0;
            row += kLegendHeight;
        }
        const QRect box(left, row, width, kLegendHeight);
        painter.fillRect(box.adjusted(1, 1, -1, -1), FillOf(states[i]));
        painter.drawText(box, Qt::AlignCenter, words);
        left += width;
    }
    painter.drawText(QRect(0, top + kLegendHeight * 2, kColumns * kCellWidth, kLegendHeight),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8("Cadre épais : répéteurs (1 à %1) ; cadre fin : capteurs")
                         .arg(repeaterCount));
}
