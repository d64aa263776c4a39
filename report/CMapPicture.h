#pragma once

#include <QImage>

#include "CNetworkMap.h"

// The map of a network as a picture: the repeaters' band, the sensors' band and the modem's
// six parameters, each cell with its ID, a mark for its state and a fill colour.
class CMapPicture {
public:
    CMapPicture(const CNetworkMap& map, int repeaterCount);
    QImage Render() const;

private:
    void DrawCell(class QPainter& painter, const QRect& box, const QString& label,
                  const MapCell& cell, bool repeater) const;
    void DrawLegend(QPainter& painter, int top) const;

    const CNetworkMap& map;
    int repeaterCount;
};
