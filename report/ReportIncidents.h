#pragma once

#include <QString>

#include "CNetworkMap.h"

// Every send that was not verified, with its date and time, those later redone too, marked
// "repris le …" with the date of the send that verified it.
QString IncidentHistory(const CNetworkMap& map);
