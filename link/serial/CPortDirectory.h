#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One serial port as the port list shows it: a display name that starts with COM<n>,
// then the Linux device and, where known, its USB description.
struct PortEntry {
    std::string name;    // e.g. "COM101 (ttyUSB0: FT232R USB UART)"
    int32_t number = 0;  // n of COM<n>
    std::string path;    // e.g. "/dev/ttyUSB0"
};

// The serial ports of this machine, and the mapping from a port number to a device path.
// The number is a fixed function of the device's own name, never a position in a list:
//   ttyS<k>   -> COM(1 + k)     k in 0..99
//   ttyUSB<k> -> COM(101 + k)   k in 0..99
//   ttyACM<k> -> COM(201 + k)   k in 0..99
//   ttyAMA<k> -> COM(301 + k), ttySC<k> -> COM(401 + k), ttymxc<k> -> COM(501 + k),
//   ttyTHS<k> -> COM(601 + k), ttyXRUSB<k> -> COM(701 + k)
//   virtual   -> COM<n> as announced (links COM<n> in the runtime folder), n in 900..999
class CPortDirectory {
public:
    struct Roots {
        std::string sysClassTty = "/sys/class/tty";
        std::string dev = "/dev";
        std::string runtime;  // empty: DefaultRuntimeFolder()
        // Character devices by number, to tell a terminal without opening it.
        std::string sysDevChar = "/sys/dev/char";
    };

    CPortDirectory();
    explicit CPortDirectory(Roots roots);

    // Real ports first (by number), then virtual ones (by number).
    std::vector<PortEntry> List() const;
    // Device path for a port number, or nothing when no device answers to it.
    std::optional<std::string> PathFor(int32_t number) const;

    const Roots& GetRoots() const { return roots; }

    // $XDG_RUNTIME_DIR/zav7305, or /tmp/zav7305-<uid> when the desktop sets none.
    static std::string DefaultRuntimeFolder();
    // The number a kernel tty name maps to, or nothing for names outside the rule.
    static std::optional<int32_t> NumberForDevice(const std::string& ttyName);

    static constexpr int32_t kFirstVirtual = 900;
    static constexpr int32_t kLastVirtual = 999;

private:
    Roots roots;
};
