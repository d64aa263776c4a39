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

// The band a device was programmed in, told by the page that wrote it; kUnknown for a device
// only ever written by the custom dialog, the command line or a journal older than the
// editor column, whose band follows from its ID and the repeater count.
enum class DeviceBand { kUnknown, kRepeater, kSensor };

// A machine's latest send to a cell.
struct MachineSend {
    std::string machine;
    std::string command;    // device bytes
    std::string timestamp;  // as written
    int64_t epochMs = 0;
};

struct MapCell {
    DeviceState state = DeviceState::kNotProgrammed;
    DeviceBand band = DeviceBand::kUnknown;  // from the latest send made on a page
    std::optional<JournalEntry> last;        // its latest exchange
    Verdict verdict;  // of its latest send, judged again from what it sent and read
    int sends = 0;
    bool sentDifferentValues = false;   // two sends carried different values
    bool everVerified = false;          // one of its sends, not only the latest, was verified
    std::string lastSent;               // the command of the latest send, device bytes
    int incidents = 0;                  // sends not verified: differs, silent or failed
    std::vector<size_t> openIncidents;  // those not yet redone, as indexes into Incidents()
    // Each named machine's latest send, in the order they first sent. The latest send by time
    // still makes the state: the flag below says that a machine's clock decided it.
    std::vector<MachineSend> machineSends;
    bool machinesDiffer = false;  // two machines' latest sends carry different values
};

// A send that was not verified, kept although a later send may have redone it.
struct MapIncident {
    bool modem = false;
    int32_t key = 0;  // the device's ID, or the modem page's parameter 1..6
    DeviceState state = DeviceState::kNotProgrammed;
    Verdict verdict;  // what differed, for kDiffers
    int64_t epochMs = 0;
    std::string timestamp;  // as the journal wrote it
    // The first later send of the same device or parameter that was verified, if any.
    std::optional<int64_t> redoneMs;
    std::string redoneTimestamp;
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
    // A device written on the repeater or the sensor page stays in that page's band whatever
    // the repeater count; any other ID is a repeater when it is 1..n (n clamped to
    // 0..kLastDeviceId).
    bool IsRepeater(int32_t id, int32_t n) const;
    Band Repeaters(int32_t n) const;
    Band Sensors(int32_t n) const;

    void CountSkipped(size_t lines) { skipped += lines; }
    size_t SkippedLines() const { return skipped; }
    // The IDs whose machines' latest sends differ, in ID order.
    std::vector<int32_t> ProgrammedOnSeveralMachines() const;
    // Every entry of this network that was added, reads included.
    size_t EntryCount() const { return entries; }
    // Every send that was not verified, in time order.
    const std::vector<MapIncident>& Incidents() const { return incidents; }

private:
    Band Count(int32_t n, bool repeaters) const;
    void NoteIncident(MapCell& cell, bool modem, int32_t key);

    std::string network;
    std::array<MapCell, kLastDeviceId + 1> devices{};
    std::array<MapCell, kModemParamCount + 1> modem{};
    int32_t repeaterCount = -1;
    size_t skipped = 0;
    size_t entries = 0;
    std::vector<MapIncident> incidents;
};
