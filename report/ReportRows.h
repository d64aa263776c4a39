#pragma once

#include <QString>

#include "CNetworkMap.h"

// One row per device and modem parameter that was sent, with its latest exchange: the IDs
// never sent have none. The one place the report's rows are made.
QString DetailRows(const CNetworkMap& map);
