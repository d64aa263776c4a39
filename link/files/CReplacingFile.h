#pragma once

#include <string>
#include <string_view>

#include "CFileDescriptor.h"
#include "FileStatus.h"

// Writes a file the user may already have so that, whatever happens, the name holds either
// the previous file whole or the new one whole: the bytes go to a temporary file beside it,
// which is flushed to the disk and renamed into place only when complete. A link at the name
// (symbolic, or a file with other names) is refused: the file it leads to is someone else's.
class CReplacingFile {
public:
    enum class Mode { kReplace, kCreateOnly };

    explicit CReplacingFile(std::string path, Mode mode = Mode::kReplace);
    // Removes the temporary file when Commit was not reached.
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // FILE_OK, an errno or one of the refusals of FileStatus.h.
    int Open();
    int Write(std::string_view bytes);
    int Commit();

    const std::string& Path() const { return path; }
    const std::string& TemporaryPath() const { return temporary; }

private:
    int CheckTarget();
    int CreateTemporary();
    int MoveIntoPlace() const;
    int Fail(int err);

    std::string path;
    Mode mode;
    std::string temporary;
    CFileDescriptor descriptor;
    int keptPermissions = -1;  // those of the file replaced
    int failure = FILE_OK;
};

// The whole of `bytes` as the file `path`, by the rules above.
int ReplaceFile(const std::string& path, std::string_view bytes,
                CReplacingFile::Mode mode = CReplacingFile::Mode::kReplace);
