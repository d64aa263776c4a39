#pragma once

#include <string>

#include "CPortHolders.h"

// The one place where a system error number (errno) of the serial channel becomes what the
// program says of it: the channel's status code, the French cause and the system's own text.

// Every errno the channel meets is a failure of the operation: a missing or busy device
// (ENOENT, EBUSY, EWOULDBLOCK from the lock), no permission (EACCES: the user is not in the
// tty's group), not a terminal (ENOTTY), a hang-up (EIO, ENXIO), and so on.
int PortStatusFromErrno(int err);

// True when `err` (the channel's last error) means the port could not be used at all or was
// lost; false for no error and for a time-out.
bool IsPortFailure(int err);

// Why a serial port failed, said in French with what to do about it. Empty for errors that
// say nothing about the port: a time-out means a silent device, whose message stays as it is.
// `holders` names the programs that hold a busy port ("ModemManager, processus 812"); it is
// used only for a busy port and may be empty.
std::string PortFailureCause(int err, const std::string& holders = {});

// The system's own text for `err` (strerror), empty for 0.
std::string SystemErrorText(int err);

struct DescribedFailure {
    int status = 0;
    std::string cause;
    std::string systemError;
};

// All of the above for the last error of a port on `device`; the programs holding it are
// looked up only when it is busy.
DescribedFailure DescribePortFailure(int err, const std::string& device,
                                     const CPortHolders& holders = CPortHolders());
