#pragma once

#include <sys/types.h>

#include <string>

// mkdir -p: every missing folder of `path` made with `mode`; 0, or the errno of the part that
// failed (ENOTDIR when the path ends at something that is not a folder).
int MakeFolders(const std::string& path, mode_t mode);
