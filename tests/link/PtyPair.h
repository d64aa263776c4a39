#pragma once

#include <string>

// A pseudo-terminal pair owned for the length of a test. The master end plays the device;
// the slave end is what the channel opens by path. Both descriptors close with the object.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Valid() const { return masterFd >= 0 && slaveFd >= 0; }
    int Master() const { return masterFd; }
    // Kept open so that the line survives the channel closing its own descriptor.
    int Slave() const { return slaveFd; }
    const std::string& SlavePath() const { return slavePath; }

    // Writes all of data to the master (blocking until done); false on error.
    bool WriteMaster(const std::string& data) const;
    // Reads from the master until `count` bytes came or `timeoutMs` passed without data.
    std::string ReadMaster(size_t count, int timeoutMs) const;
    // Waits until at least `count` bytes sent by the master wait on the slave side unread.
    bool WaitSlaveInput(size_t count, int timeoutMs) const;
    // Waits until what the master just sent has been read on the slave side: it arrived and
    // is gone, or it never showed within a short while (a fast reader took it at once).
    bool WaitSlaveTaken(int timeoutMs) const;
    // Everything that is waiting on the master right now, without waiting for more.
    std::string DrainMaster() const;
    // Closes the master: the slave side sees a hang-up.
    void CloseMaster();
    void CloseSlave();

private:
    int masterFd = -1;
    int slaveFd = -1;
    std::string slavePath;
};
