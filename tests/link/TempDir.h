#pragma once

#include <string>

// A fresh private directory under /tmp, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path; }
    std::string operator/(const std::string& relative) const { return path + "/" + relative; }

    // Helpers for building trees; each creates missing parent directories and reports
    // success, so that a broken fixture fails its test instead of passing silently.
    bool MakeDir(const std::string& relative) const;
    bool WriteFile(const std::string& relative, const std::string& content) const;
    bool Link(const std::string& relative, const std::string& target) const;

private:
    std::string path;
};
