#include "MapStates.h"

std::array<DeviceState, kDeviceStateCount> LegendStates() {
    std::array<DeviceState, kDeviceStateCount> states{};
    for (const MapStateInfo& info : kMapStates) {
        states[info.legendOrder] = info.state;
    }
    return states;
}
