#include "TempDir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

TempDir::TempDir() {
    char name[] = "/tmp/zav-link-test-XXXXXX";
    if (mkdtemp(name) != nullptr) {
        path = name;
    }
}

TempDir::~TempDir() {
    if (!path.empty()) {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
}

bool TempDir::MakeDir(const std::string& relative) const {
    std::error_code ec;
    fs::create_directories(*this / relative, ec);
    return !ec;
}

bool TempDir::WriteFile(const std::string& relative, const std::string& content) const {
    const fs::path file = *this / relative;
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary);
    out << content;
    return !ec && out.good();
}

bool TempDir::Link(const std::string& relative, const std::string& target) const {
    const fs::path link = *this / relative;
    std::error_code ec;
    fs::create_directories(link.parent_path(), ec);
    fs::create_symlink(target, link, ec);
    return !ec;
}
