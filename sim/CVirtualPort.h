#pragma once

#include <cstdint>
#include <string>

#include "CFileDescriptor.h"

// A pseudo-terminal announced as a virtual serial port: a link COM<n> to its slave side in
// the runtime folder that the port list reads. The device talks on the master side.
class CVirtualPort {
public:
    CVirtualPort() = default;
    ~CVirtualPort();
    CVirtualPort(const CVirtualPort&) = delete;
    CVirtualPort& operator=(const CVirtualPort&) = delete;

    bool Open(std::string& error);
    // Links COM<number> (or the first free number when `number` is 0) in `folder`,
    // creating the folder when it is missing.
    bool Announce(const std::string& folder, int32_t number, std::string& error);
    // Removes the link, but only while it still leads to this port's pseudo-terminal.
    void Withdraw();
    // Closes the device side: whoever has the port open sees a hang-up.
    void HangUp();

    // Bytes sent to the port that its reader has not taken yet; -1 when unknown.
    int UnreadBytes() const;

    int Master() const { return master.Get(); }
    const std::string& SlavePath() const { return slavePath; }
    int32_t Number() const { return number; }

private:
    bool TryLink(const std::string& folder, int32_t candidate, std::string& error);

    CFileDescriptor master;
    // Held open so that the port closing on the other side is not a hang-up for the device.
    CFileDescriptor slave;
    std::string slavePath;
    std::string linkPath;
    int32_t number = 0;
};

// Makes sure `folder` is a directory of this user that no one else may write, creating it
// (mode 0700) when missing.
bool PrepareRuntimeFolder(const std::string& folder, std::string& error);
