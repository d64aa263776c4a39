#pragma once

#include <cstddef>
#include <string>

// Reads one of the tool's own small files (its state) whole, as it finds it: never through a
// symbolic link, never waiting on a FIFO or a device, only a regular file, at most `limit`
// bytes. FILE_OK with the bytes; an errno or a refusal of FileStatus.h otherwise, with a file
// longer than `limit` refused as FILE_REFUSED_TOO_LONG.
int ReadOwnFile(const std::string& path, size_t limit, std::string& bytes);
