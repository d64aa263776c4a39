#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

#include "CPortDirectory.h"

// A machine's serial ports in a temporary folder: a sysfs-like tty list, the device nodes
// and an empty runtime folder for virtual ports.
class CFakePortTree {
public:
    CFakePortTree();

    bool IsValid() const { return valid; }
    // A kernel tty with hardware behind it, e.g. "ttyS9" (COM10) or "ttyUSB0" (COM101).
    bool AddTty(const QString& name);
    // The adapter pulled out.
    bool RemoveTty(const QString& name);
    // Where virtual ports are announced (a simulator's --runtime).
    std::string RuntimeFolder() const { return directory.GetRoots().runtime; }
    const CPortDirectory& Directory() const { return directory; }

private:
    QTemporaryDir root;
    CPortDirectory directory;
    bool valid = false;
};
