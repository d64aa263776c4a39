#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "JournalEntry.h"
#include "MapStates.h"
#include "Parameters.h"
#include "Verdict.h"

// A machine's latest send to a cell.
struct MachineSend {
    std::string machine;
    std::string command;    // device bytes
    std::string timestamp;  // as written
    int64_t epochMs = 0;
};

struct MapCell {
    DeviceState state = DeviceState::kNotProgrammed;
    std::optional<JournalEntry> last;  // its latest exchange
    Verdict verdict;  // of its latest send, judged again from what it sent and read
    int sends = 0;
    bool sentDifferentValues = false;  // two sends carried different values
    bool everVerified = false;         // one of its sends, not only the latest, was verified
    std::string lastSent;              // the command of the latest send, device bytes
    // Each named machine's latest send, in the order they first sent. The latest send by time
    // still makes the state: the flag below says that a machine's clock decided it.
    std::vector<MachineSend> machineSends;
    bool machinesDiffer = false;  // two machines' latest sends carry different values
};

// The state of each ID of one network from its latest send, built from journal entries in
// time order and updated entry by entry. Reads change no state: they program nothing.
class CNetworkMap {
public:
    explicit CNetworkMap(std::string network = {});

    const std::string& Network() const { return network; }
    // Another network's entries are ignored; the latest entry wins.
    void Add(const JournalEntry& entry);
    void Add(const std::vector<JournalEntry>& entries);

    // kFirstDeviceId..kLastDeviceId; any other ID reads as a cell never programmed.
    const MapCell& Device(int32_t id) const;
    // 1..6, the modem page's numbering; any other number reads as never programmed.
    const MapCell& ModemParam(int32_t param) const;
    // From the latest entry that says, else -1.
    int32_t RepeaterCount() const { return repeaterCount; }

    struct Band {
        int total = 0;
        int verified = 0;
        int toRedo = 0;  // sent but not verified: differs, silent or failed
        int silent = 0;
        int failed = 0;
    };
    // Repeaters are 1..n, sensors n+1..kLastDeviceId (n clamped to kRepeaterCountRange).
    Band Repeaters(int32_t n) const;
    Band Sensors(int32_t n) const;

    void CountSkipped(size_t lines) { skipped += lines; }
    size_t SkippedLines() const { return skipped; }
    // The IDs whose machines' latest sends differ, in ID order.
    std::vector<int32_t> ProgrammedOnSeveralMachines() const;
    // Every entry of this network that was added, reads included.
    size_t EntryCount() const { return entries; }

private:
    Band Count(int32_t first, int32_t last) const;

    std::string network;
    std::array<MapCell, kLastDeviceId + 1> devices{};
    std::array<MapCell, kModemParamCount + 1> modem{};
    int32_t repeaterCount = -1;
    size_t skipped = 0;
    size_t entries = 0;
};
