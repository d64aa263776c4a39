#include "PosixError.h"

#include "CSerialPort.h"

int PortStatusFromErrno(int err) {
    return err == 0 ? PORT_OK : PORT_FAILED;
}
