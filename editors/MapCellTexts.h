#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "CNetworkMap.h"
#include "CNetworkMapView.h"
#include "PlanStates.h"

// What the sheet's map writes: each cell's mark, words and last record, the legend and the
// notes under the map.
namespace MapCellTexts {

CNetworkMapView::Cell DeviceCell(int32_t id, const MapCell& cell);
CNetworkMapView::Cell ModemCell(int32_t param, const MapCell& cell);
// Against a site's plan: "ID 12 Pompe 3 : conforme au plan", the last record under it.
CNetworkMapView::Cell PlanDeviceCell(int32_t id, const SitePlan& plan, const CNetworkMap& map);
CNetworkMapView::Cell PlanModemCell(int32_t param, const SitePlan& plan, const CNetworkMap& map);
// What each mark stands for.
QString Legend();
// What each mark stands for against a site's plan.
QString PlanLegend();
// A network without a name, skipped journal lines, day files that could not be read, and how
// many of the folder's files are no journal files.
QString Notes(bool unnamed, size_t skippedLines, const std::vector<std::string>& unreadable,
              size_t leftAside = 0);

}  // namespace MapCellTexts
