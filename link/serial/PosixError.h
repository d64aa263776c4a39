#pragma once

// The one place where a system error number becomes a channel status code (PortStatus).
// Every errno the channel meets is a failure of the operation: a missing or busy device
// (ENOENT, EBUSY, EWOULDBLOCK from the lock), no permission (EACCES: the user is not in
// the tty's group), not a terminal (ENOTTY), a hang-up (EIO, ENXIO), and so on.
int PortStatusFromErrno(int err);
