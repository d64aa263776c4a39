#include "JournalSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "CFileDescriptor.h"
#include "CJournal.h"
#include "JournalFormat.h"

namespace JournalSettings {

namespace {

using JournalFormat::IsAbsolute;
using JournalFormat::kFolderMode;

constexpr char kFileName[] = "/journal";

std::string SettingsFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); IsAbsolute(config)) {
        return std::string(config) + "/" + JournalFormat::kProgramFolder;
    }
    if (const char* home = std::getenv("HOME"); IsAbsolute(home)) {
        return std::string(home) + "/.config/" + JournalFormat::kProgramFolder;
    }
    return {};
}

// The parent and the folder itself; 0 or errno.
int MakeFolder(const std::string& folder) {
    const std::string parent = folder.substr(0, folder.rfind('/'));
    if (!parent.empty() && ::mkdir(parent.c_str(), kFolderMode) != 0 && errno != EEXIST) {
        return errno;
    }
    return ::mkdir(folder.c_str(), kFolderMode) != 0 && errno != EEXIST ? errno : 0;
}

}  // namespace

std::string SettingsFile() {
    const std::string folder = SettingsFolder();
    return folder.empty() ? std::string() : folder + kFileName;
}

std::string UserFolder() {
    const std::string file = SettingsFile();
    std::string chosen;
    if (!file.empty()) {
        std::ifstream in(file);
        std::getline(in, chosen);
    }
    return IsAbsolute(chosen.c_str()) ? chosen : CJournal::DefaultFolder();
}

int ChooseFolder(const std::string& folder) {
    if (!IsAbsolute(folder.c_str()) || folder.find('\n') != std::string::npos) {
        return EINVAL;
    }
    const std::string file = SettingsFile();
    if (file.empty()) {
        return ENOENT;
    }
    if (const int err = MakeFolder(SettingsFolder()); err != 0) {
        return err;
    }
    const std::string temporary = file + ".tmp";
    CFileDescriptor out(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!out.IsValid()) {
        return errno;
    }
    const std::string line = folder + "\n";
    if (::write(out.Get(), line.data(), line.size()) != static_cast<ssize_t>(line.size()) ||
        ::fsync(out.Get()) != 0) {
        const int err = errno != 0 ? errno : EIO;
        ::unlink(temporary.c_str());
        return err;
    }
    out.Reset();
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        return err;
    }
    return 0;
}

}  // namespace JournalSettings
