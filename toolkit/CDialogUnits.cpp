#include "CDialogUnits.h"

#include <QFontMetrics>
#include <cstdint>

namespace {

// a * b / c rounded half away from zero, the way the platform scales dialog units.
int MulDiv(int a, int b, int c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = c / 2;
    const int64_t rounded = product >= 0 ? (product + half) / c : (product - half) / c;
    return static_cast<int>(rounded);
}

}  // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX = (letters / 26 + 1) / 2;
    baseY = metrics.height();
}

int CDialogUnits::X(int dluX) const {
    return MulDiv(dluX, baseX, 4);
}

int CDialogUnits::Y(int dluY) const {
    return MulDiv(dluY, baseY, 8);
}

QRect CDialogUnits::ToPixels(const QRect& dlu) const {
    return QRect(X(dlu.x()), Y(dlu.y()), X(dlu.width()), Y(dlu.height()));
}

QSize CDialogUnits::ToPixels(const QSize& dlu) const {
    return QSize(X(dlu.width()), Y(dlu.height()));
}
