#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CNetworkMap.h"
#include "Parameters.h"

class CJournalFollower;

// The map of one network as the journal tells it, following what is appended to the journal
// (by this sheet or by the command line), and what of it has been drawn since.
class CMapFollower {
public:
    CMapFollower();
    ~CMapFollower();

    // Another network, or the same one read again from the start; nothing is drawn yet.
    void Start(const std::string& folder, const std::string& network);
    bool Started() const { return follower != nullptr; }
    // Takes in the journal lines appended since the last look; true when there were any.
    bool TakeNew();

    const CNetworkMap& Map() const { return map; }
    // The cells whose latest exchange changed since they were last taken, each taken once.
    std::vector<int32_t> TakeChangedDevices();
    std::vector<int32_t> TakeChangedModemParams();
    // The skipped lines or unreadable files differ from what was last taken.
    bool CountsChanged() const;
    size_t TakeSkippedLines();
    std::vector<std::string> TakeUnreadableFiles();
    // How many of the folder's files are no journal files (sync tools' copies and others).
    size_t TakeLeftAside();

private:
    // True once per change of the cell's latest exchange; `shown` keeps what was taken.
    static bool Changed(const MapCell& cell, std::string& shown);

    CNetworkMap map;
    std::unique_ptr<CJournalFollower> follower;
    int64_t latestMs = 0;  // of the latest record taken
    size_t shownSkipped = 0;
    std::vector<std::string> shownUnreadable;
    size_t shownLeftAside = 0;
    std::array<std::string, kLastDeviceId + 1> shownDevices;
    std::array<std::string, kModemParamCount + 1> shownModem;
};
