#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "CNetworkMap.h"

// French words shared by the map widget and the report, read from the states' table.

// The state's words, or for a cell that differs its verdict: "CHF envoyé 012, lu 013".
std::string StateWords(const MapCell& cell);
// A short mark that tells the state without colour: "·", "✓", "≠", "?", "✗".
std::string StateMark(DeviceState state);
// "✓ vérifiée" for each state, in the legend's order.
std::array<std::string, kDeviceStateCount> LegendItems();
// "Modem P0" for the modem page's parameter 1..6; the number for any other.
std::string ModemName(int32_t param);
// "programmé sur 2 postes" for a cell whose machines' latest sends differ, else empty.
std::string MachinesWords(const MapCell& cell);
// "ID 12 : vérifiée", and "ID 12 : vérifiée · programmé sur 2 postes".
std::string CellAccessibleName(int32_t id, const MapCell& cell);
// "Modem P0 : vérifiée", for the modem page's parameter 1..6.
std::string ModemCellAccessibleName(int32_t param, const MapCell& cell);
// "Répéteurs 12/20 vérifiés, 1 à reprendre · Capteurs 3/220 vérifiés".
std::string BandSummary(const CNetworkMap& map, int32_t n);
