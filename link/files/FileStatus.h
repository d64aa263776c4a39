#pragma once

#include <string>

// What writing or reading one of the tool's own files came to: FILE_OK, a system error
// (errno, all positive) or one of these refusals, below zero so that no errno is one.
enum FileStatus : int {
    FILE_OK = 0,
    FILE_REFUSED_SYMLINK = -1,      // the name is a symbolic link
    FILE_REFUSED_LINKED = -2,       // the file has other names (hard links)
    FILE_REFUSED_NOT_REGULAR = -3,  // a folder, a FIFO, a device
    FILE_REFUSED_EXISTS = -4,       // there is a file and it was not to be replaced
    FILE_REFUSED_TOO_LONG = -5,     // longer than any file the tool writes there
};

// Why, said in French for the technician ("disque plein").
std::string FileStatusReason(int status);
