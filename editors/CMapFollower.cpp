#include "CMapFollower.h"

#include "CJournalReader.h"

CMapFollower::CMapFollower() = default;
CMapFollower::~CMapFollower() = default;

void CMapFollower::Start(const std::string& folder, const std::string& network) {
    map = CNetworkMap(network);
    follower = std::make_unique<CJournalFollower>(folder, network);
    // Nothing drawn yet: every cell differs from what is shown.
    shownDevices.fill("-");
    shownModem.fill("-");
}

bool CMapFollower::TakeNew() {
    const std::vector<JournalEntry> entries = follower->ReadNew();
    map.Add(entries);
    return !entries.empty();
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
