#pragma once

// What every operation of the serial channel answers: 0 for success, the rest a failure.
enum PortStatus : int {
    PORT_OK = 0,
    PORT_NOT_OPEN = 3,
    PORT_INCOMPLETE = 4,
    PORT_FAILED = 5,
    PORT_BAD_HANDSHAKE = 6,
};
