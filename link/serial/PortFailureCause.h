#pragma once

#include <string>

// Why a serial port failed, said in French with what to do about it. Empty for errors that
// say nothing about the port: a time-out means a silent device, whose message stays as it is.
// `holders` names the programs that hold a busy port ("ModemManager, processus 812"); it is
// used only for a busy port and may be empty.
std::string PortFailureCause(int err, const std::string& holders = {});

// True when `err` (the channel's last error) means the port could not be used at all or was
// lost; false for no error and for a time-out.
bool IsPortFailure(int err);

// The system's own text for `err` (strerror), empty for 0.
std::string SystemErrorText(int err);
