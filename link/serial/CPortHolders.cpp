#include "CPortHolders.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Enough to name a program; no program scan may turn into a long wait on a busy machine.
constexpr size_t kMaxHolders = 4;

std::optional<pid_t> PidOf(const std::string& entry) {
    if (entry.empty() || entry.size() > 9 ||
        !std::all_of(entry.begin(), entry.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return static_cast<pid_t>(std::stol(entry));
}

bool HoldsDevice(const fs::path& fdFolder, const std::string& devicePath) {
    std::error_code ec;
    for (fs::directory_iterator it(fdFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (!linkError && target == devicePath) {
            return true;
        }
    }
    return false;
}

std::string CommandName(const fs::path& processFolder) {
    std::ifstream in(processFolder / "comm");
    std::string name;
    std::getline(in, name);
    return name;
}

}  // namespace

CPortHolders::CPortHolders(std::string procRoot) : procRoot(std::move(procRoot)) {}

std::vector<CPortHolders::Holder> CPortHolders::Find(const std::string& devicePath) const {
    std::vector<Holder> holders;
    if (devicePath.empty()) {
        return holders;
    }
    const pid_t self = getpid();
    std::error_code ec;
    for (fs::directory_iterator it(procRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<pid_t> pid = PidOf(it->path().filename().string());
        if (!pid || *pid == self || !HoldsDevice(it->path() / "fd", devicePath)) {
            continue;
        }
        holders.push_back({*pid, CommandName(it->path())});
        if (holders.size() == kMaxHolders) {
            break;
        }
    }
    std::sort(holders.begin(), holders.end(),
              [](const Holder& a, const Holder& b) { return a.pid < b.pid; });
    return holders;
}

std::string CPortHolders::Describe(const std::string& devicePath) const {
    std::string text;
    for (const Holder& holder : Find(devicePath)) {
        if (!text.empty()) {
            text += " ; ";
        }
        text += (holder.name.empty() ? std::string("?") : holder.name) + ", processus " +
                std::to_string(holder.pid);
    }
    return text;
}
