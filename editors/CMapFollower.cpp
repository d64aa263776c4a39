#include "CMapFollower.h"

#include <algorithm>
#include <limits>

#include "CJournalReader.h"

CMapFollower::CMapFollower() = default;
CMapFollower::~CMapFollower() = default;

void CMapFollower::Start(const std::string& folder, const std::string& network) {
    map = CNetworkMap(network);
    follower = std::make_unique<CJournalFollower>(folder, network);
    latestMs = std::numeric_limits<int64_t>::min();
    // Nothing drawn yet: every cell differs from what is shown.
    shownDevices.fill("-");
    shownModem.fill("-");
}

bool CMapFollower::TakeNew() {
    // The records come in time order: only the first can tell that they are older than the map.
    bool first = true;
    bool older = false;
    const auto take = [this, &first, &older](const JournalEntry& entry) {
        if (first) {
            older = entry.epochMs < latestMs;
            first = false;
        }
        if (!older) {
            map.Add(entry);
            latestMs = std::max(latestMs, entry.epochMs);
        }
    };
    if (follower->ReadNew(take) == 0) {
        return false;
    }
    if (older) {
        // A file synced late from another machine brought records older than those the map
        // was made of: taken after them, they would pass for the latest. The map is made
        // again from the whole folder, as opening the sheet would; only the cells that then
        // differ from what is shown are drawn again.
        follower = std::make_unique<CJournalFollower>(follower->Folder(), map.Network());
        map = CNetworkMap(map.Network());
        older = false;  // and `first` stays false: the whole folder is taken as it comes
        follower->ReadNew(take);
    }
    return true;
}

std::vector<int32_t> CMapFollower::TakeChangedDevices() {
    std::vector<int32_t> changed;
    for (int32_t id = kFirstDeviceId; id <= kLastDeviceId; ++id) {
        if (Changed(map.Device(id), shownDevices[static_cast<size_t>(id)])) {
            changed.push_back(id);
        }
    }
    return changed;
}

std::vector<int32_t> CMapFollower::TakeChangedModemParams() {
    std::vector<int32_t> changed;
    for (int32_t param = 1; param <= kModemParamCount; ++param) {
        if (Changed(map.ModemParam(param), shownModem[static_cast<size_t>(param)])) {
            changed.push_back(param);
        }
    }
    return changed;
}

bool CMapFollower::CountsChanged() const {
    return follower->SkippedLines() != shownSkipped ||
           follower->UnreadableFiles() != shownUnreadable ||
           follower->LeftAside().size() != shownLeftAside;
}

size_t CMapFollower::TakeSkippedLines() {
    shownSkipped = follower->SkippedLines();
    return shownSkipped;
}

std::vector<std::string> CMapFollower::TakeUnreadableFiles() {
    shownUnreadable = follower->UnreadableFiles();
    return shownUnreadable;
}

size_t CMapFollower::TakeLeftAside() {
    shownLeftAside = follower->LeftAside().size();
    return shownLeftAside;
}

bool CMapFollower::Changed(const MapCell& cell, std::string& shown) {
    std::string now = std::to_string(static_cast<int>(cell.state)) + "|" +
                      std::to_string(cell.sends) + "|" + (cell.last ? cell.last->timestamp : "");
    if (now == shown) {
        return false;
    }
    shown = std::move(now);
    return true;
}
