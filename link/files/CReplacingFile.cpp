#include "CReplacingFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "CFileDescriptor.h"

namespace {

constexpr int kNameAttempts = 100;

int LastErrno() {
    return errno != 0 ? errno : EIO;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Past the size limit (ulimit -f) a write kills the process unless the signal is ignored;
// ignored, the write fails with EFBIG, which is told and its torn temporary file removed.
void IgnoreFileSizeSignal() {
    static const bool ignored = [] {
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            ::signal(SIGXFSZ, SIG_IGN);
        }
        return true;
    }();
    (void)ignored;
}

std::string RandomTag() {
    static std::mt19937_64 generator{std::random_device{}()};
    char tag[16];
    std::snprintf(tag, sizeof tag, "%06llx",
                  static_cast<unsigned long long>(generator() & 0xffffffULL));
    return tag;
}

// The folder's entry of the renamed file reaches the disk too, or a power cut may undo it.
void SyncFolder(const std::string& folder) {
    const CFileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.IsValid()) {
        ::fsync(directory.Get());
    }
}

}  // namespace

CReplacingFile::CReplacingFile(std::string path, Mode mode) : path(std::move(path)), mode(mode) {}

CReplacingFile::~CReplacingFile() {
    if (!temporary.empty()) {
        descriptor.Reset();
        ::unlink(temporary.c_str());
    }
}

int CReplacingFile::Open() {
    IgnoreFileSizeSignal();
    if (const int refused = CheckTarget(); refused != FILE_OK) {
        return Fail(refused);
    }
    return CreateTemporary();
}

int CReplacingFile::CheckTarget() {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? FILE_OK : LastErrno();
    }
    if (S_ISLNK(status.st_mode)) {
        return FILE_REFUSED_SYMLINK;
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(status.st_mode)) {
        return FILE_REFUSED_NOT_REGULAR;
    }
    if (status.st_nlink > 1) {
        return FILE_REFUSED_LINKED;
    }
    if (mode == Mode::kCreateOnly) {
        return FILE_REFUSED_EXISTS;
    }
    keptPermissions = static_cast<int>(status.st_mode & 07777);
    return FILE_OK;
}

int CReplacingFile::CreateTemporary() {
    const std::string stem = FolderOf(path) + "/." + BaseOf(path) + ".";
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = stem + RandomTag() + ".tmp";
        // O_EXCL: a name somebody else holds, a link among them, is never opened.
        descriptor.Reset(
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (descriptor.IsValid()) {
            temporary = std::move(name);
            if (keptPermissions >= 0 && ::fchmod(descriptor.Get(), keptPermissions) != 0) {
                return Fail(LastErrno());
            }
            return FILE_OK;
        }
        if (errno != EEXIST) {
            return Fail(LastErrno());
        }
    }
    return Fail(EEXIST);
}

int CReplacingFile::Write(std::string_view bytes) {
    if (failure != FILE_OK || !descriptor.IsValid()) {
        return failure != FILE_OK ? failure : EBADF;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor.Get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail(written < 0 ? LastErrno() : EIO);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return FILE_OK;
}

int CReplacingFile::Commit() {
    if (failure != FILE_OK || !descriptor.IsValid()) {
        return failure != FILE_OK ? failure : EBADF;
    }
    // A full disk may only show at the flush or the close (NFS): both are checked.
    if (::fsync(descriptor.Get()) != 0 || !descriptor.Reset()) {
        return Fail(LastErrno());
    }
    if (const int moved = MoveIntoPlace(); moved != FILE_OK) {
        return Fail(moved);
    }
    temporary.clear();
    SyncFolder(FolderOf(path));
    return FILE_OK;
}

int CReplacingFile::MoveIntoPlace() const {
    if (mode == Mode::kReplace) {
        return ::rename(temporary.c_str(), path.c_str()) == 0 ? FILE_OK : LastErrno();
    }
    // Never over a file that appeared since the check.
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
        return FILE_OK;
    }
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without the flag: a second name cannot be taken over either.
        if (::link(temporary.c_str(), path.c_str()) == 0) {
            ::unlink(temporary.c_str());
            return FILE_OK;
        }
    }
    return errno == EEXIST ? FILE_REFUSED_EXISTS : LastErrno();
}

int CReplacingFile::Fail(int err) {
    failure = err;
    descriptor.Reset();
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
        temporary.clear();
    }
    return err;
}

int ReplaceFile(const std::string& path, std::string_view bytes, CReplacingFile::Mode mode) {
    CReplacingFile file(path, mode);
    int status = file.Open();
    if (status == FILE_OK) {
        status = file.Write(bytes);
    }
    return status == FILE_OK ? file.Commit() : status;
}
