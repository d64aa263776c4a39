#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "CNetworkMap.h"
#include "CNetworkMapView.h"

// What the sheet's map writes: each cell's mark, words and last record, the legend and the
// notes under the map.
namespace MapCellTexts {

CNetworkMapView::Cell DeviceCell(int32_t id, const MapCell& cell);
CNetworkMapView::Cell ModemCell(int32_t param, const MapCell& cell);
// What each mark stands for.
QString Legend();
// A network without a name, skipped journal lines, day files that could not be read, and how
// many of the folder's files are no journal files.
QString Notes(bool unnamed, size_t skippedLines, const std::vector<std::string>& unreadable,
              size_t leftAside = 0);

}  // namespace MapCellTexts
