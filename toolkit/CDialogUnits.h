#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Converts dialog units to pixels from a font's metrics: the horizontal base unit is the
// average width of the 52 Latin letters, the vertical one the font's height; x and y are
// scaled by base/4 and base/8 with rounding, as dialog templates expect.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);
    CDialogUnits(int baseX, int baseY) : baseX(baseX), baseY(baseY) {}

    int X(int dluX) const;
    int Y(int dluY) const;
    QRect ToPixels(const QRect& dlu) const;
    QSize ToPixels(const QSize& dlu) const;

    int BaseX() const { return baseX; }
    int BaseY() const { return baseY; }

private:
    int baseX;
    int baseY;
};
