#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ParameterSet.h"
#include "Parameters.h"

// A planned device's band: repeaters take the IDs 1..n, sensors n+1..kLastDeviceId.
enum class PlanRole { kRepeater, kSensor };

// What the site's plan says of one network, besides its devices.
struct SiteFacts {
    std::string network;
    std::string client;
    std::string site;
    std::string address;
    int32_t repeaterCount = 0;  // within kRepeaterCountRange

    friend bool operator==(const SiteFacts&, const SiteFacts&) = default;
};

struct PlannedDevice {
    int32_t id = 0;  // kFirstDeviceId..kLastDeviceId; values.ID is the same
    PlanRole role = PlanRole::kSensor;
    std::string label;     // UTF-8, may be empty
    std::string location;  // UTF-8, may be empty
    ParameterSet values;   // what the device is to report; TYP one Latin-1 byte

    friend bool operator==(const PlannedDevice& a, const PlannedDevice& b);
};

// The modem's expected parameters, numbered as the modem page numbers them. Its TYP is a
// number (the modem's type), not a character.
struct PlannedModem {
    std::string label;
    std::string location;
    std::array<int32_t, kParamCount> values{};  // by Param

    int32_t Value(Param param) const { return values[static_cast<size_t>(param)]; }
    // The value of the modem page's parameter 1..kModemParamCount; none for another number.
    std::optional<int32_t> ValueOfModemNumber(int32_t number) const;

    friend bool operator==(const PlannedModem&, const PlannedModem&) = default;
};

// A site's plan: its facts, its planned devices by ID, at most one modem. Only a plan that
// passed every check of the reader is ever built from a file, so a walk may trust it whole.
class SitePlan {
public:
    SitePlan() = default;
    explicit SitePlan(SiteFacts facts);

    const SiteFacts& Facts() const { return facts; }
    // False, and nothing added, for an ID outside kFirstDeviceId..kLastDeviceId or planned.
    bool AddDevice(PlannedDevice device);
    void SetModem(PlannedModem planned) { modem = std::move(planned); }

    // In ID order.
    const std::vector<PlannedDevice>& Devices() const { return devices; }
    // The planned device of an ID; none when the ID is not planned.
    const PlannedDevice* Find(int32_t id) const;
    const std::optional<PlannedModem>& Modem() const { return modem; }
    // The planned IDs of one band, in order.
    std::vector<int32_t> Ids(PlanRole role) const;
    size_t Count(PlanRole role) const;
    // The planned ID of `role` that comes next after `id`, wrapping round to the first; none
    // when the band has no planned ID.
    std::optional<int32_t> NextId(PlanRole role, int32_t id) const;

    friend bool operator==(const SitePlan&, const SitePlan&) = default;

private:
    SiteFacts facts;
    std::vector<PlannedDevice> devices;
    std::optional<PlannedModem> modem;
};

// The band of an ID in a network of `repeaterCount` repeaters.
PlanRole BandOf(int32_t id, int32_t repeaterCount);
// "répéteur", "capteur": as a plan's rôle column writes it.
const char* RoleWord(PlanRole role);
