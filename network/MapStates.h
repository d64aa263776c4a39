#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// What a cell of the network map says about its ID or modem parameter, from its latest send.
// kCancelled is a send whose wait for the report the user ended: as silent as kNoReport,
// but the device may have been given too little time to answer.
enum class DeviceState { kNotProgrammed, kVerified, kDiffers, kNoReport, kPortFailure, kCancelled };
inline constexpr size_t kDeviceStateCount = 6;

struct Rgb {
    int red;
    int green;
    int blue;
};

// Everything shown of a state: the sheet's map and its legend, the report's picture and its
// rows all read it from the one table below.
struct MapStateInfo {
    DeviceState state;
    const char* mark;    // tells the state without colour
    const char* words;   // the legend's, and a cell's tooltip and accessible name when its
                         // verdict says no more
    Rgb fill;            // the cell's, on the sheet's map and in the report's picture
    size_t legendOrder;  // its place in every legend, from 0
};

// The fills are the colour-blind-safe palette of Okabe and Ito (bluish green, orange, sky
// blue, vermilion, yellow), each dark text still reads on; a cell never programmed stays pale.
inline constexpr std::array<MapStateInfo, kDeviceStateCount> kMapStates{{
    {DeviceState::kNotProgrammed, "·", "non programmée", {245, 245, 245}, 4},
    {DeviceState::kVerified, "✓", "vérifiée", {0, 158, 115}, 0},
    {DeviceState::kDiffers, "≠", "valeurs lues différentes", {230, 159, 0}, 1},
    {DeviceState::kNoReport, "?", "envoyée, sans réponse", {86, 180, 233}, 2},
    {DeviceState::kPortFailure, "✗", "échec du port", {213, 94, 0}, 3},
    {DeviceState::kCancelled, "⊘", "envoyée, attente annulée", {240, 228, 66}, 5},
}};

constexpr bool InStateOrder() {
    for (size_t i = 0; i < kMapStates.size(); ++i) {
        if (kMapStates[i].state != static_cast<DeviceState>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(InStateOrder(), "one row per state, in the enumeration's order");

constexpr bool LegendPlacesEachOnce() {
    std::array<bool, kDeviceStateCount> taken{};
    for (const MapStateInfo& info : kMapStates) {
        if (info.legendOrder >= taken.size() || taken[info.legendOrder]) {
            return false;
        }
        taken[info.legendOrder] = true;
    }
    return true;
}
static_assert(LegendPlacesEachOnce(), "every state has its own place in the legend");

constexpr const MapStateInfo& StateInfo(DeviceState state) {
    return kMapStates[static_cast<size_t>(state)];
}

// The states as every legend lists them.
std::array<DeviceState, kDeviceStateCount> LegendStates();
