#include "CPlanStore.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include "CReplacingFile.h"
#include "FileStatus.h"
#include "MakeFolders.h"
#include "PlanWriter.h"
#include "ReadOwnFile.h"

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr char kSubfolder[] = "plans";
constexpr char kExtension[] = ".csv";
// Below the 255 bytes a name may have, with room for the hash and the extension.
constexpr size_t kNameLimit = 200;

bool IsPlain(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

std::string Escaped(const std::string& network) {
    std::string name;
    for (const char c : network) {
        if (IsPlain(static_cast<unsigned char>(c))) {
            name += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
            name += hex;
        }
    }
    return name;
}

std::string Fnv1a(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

}  // namespace

CPlanStore::CPlanStore(std::string folder) : folder(std::move(folder)) {}

std::string CPlanStore::FolderBeside(const std::string& journalFolder) {
    return journalFolder.empty() ? std::string() : journalFolder + "/" + kSubfolder;
}

std::string CPlanStore::PathOf(const std::string& network) const {
    std::string name = Escaped(network);
    if (name.size() > kNameLimit) {
        name = name.substr(0, kNameLimit - 17) + "~" + Fnv1a(network);
    }
    return folder + "/" + name + kExtension;
}

int CPlanStore::Save(const SitePlan& plan) const {
    if (folder.empty() || plan.Facts().network.empty()) {
        return ENOENT;
    }
    if (const int err = MakeFolders(folder, kFolderMode); err != 0) {
        return err;
    }
    return ReplaceFile(PathOf(plan.Facts().network), PlanText(plan));
}

int CPlanStore::Load(const std::string& network, SitePlan& plan) const {
    if (folder.empty() || network.empty()) {
        return ENOENT;
    }
    std::string bytes;
    if (const int status = ReadOwnFile(PathOf(network), PlanReader::kByteLimit, bytes);
        status != FILE_OK) {
        return status;
    }
    PlanReading reading = PlanReader::Read(bytes);
    if (!reading.plan || reading.plan->Facts().network != network) {
        return EINVAL;
    }
    plan = std::move(*reading.plan);
    return FILE_OK;
}
