#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

// The other programs that have a device open, as /proc shows them: for each process, a
// descriptor whose link leads to the device. Processes this account may not look into are
// not seen; this process is left out.
class CPortHolders {
public:
    struct Holder {
        pid_t pid = 0;
        std::string name;  // /proc/<pid>/comm
    };

    explicit CPortHolders(std::string procRoot = "/proc");

    std::vector<Holder> Find(const std::string& devicePath) const;
    // "ModemManager, processus 812" for each holder, joined by " ; "; empty when none.
    std::string Describe(const std::string& devicePath) const;

private:
    std::string procRoot;
};
