#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "CNetworkMap.h"

// The values of a configuration frame in the report's order, as the frame wrote them; the
// frame as it is when it is not one.
QString FrameValues(const std::string& frame);

// One row per device and modem parameter that was sent, with its latest exchange: the IDs
// never sent have none. The one place the report's rows are made.
QString DetailRows(const CNetworkMap& map);

// The pieces of those rows, for the rows of the devices a site plan does not hold.
QString CellRow(const QString& name, const MapCell& cell);
QString DetailTable(const QStringList& rows);
// "ID 005 CHF 012 …" as the latest report read them; "—" without a report.
QString ReadValues(const JournalEntry& entry);
