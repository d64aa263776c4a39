#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "CReplacingFile.h"
#include "FileStatus.h"
#include "ReadOwnFile.h"
#include "TempDir.h"

namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every name in the folder but "." and "..", the temporary files included.
size_t Names(const std::string& folder) {
    size_t count = 0;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            count += std::string(entry->d_name) != "." && std::string(entry->d_name) != "..";
        }
        ::closedir(dir);
    }
    return count;
}

struct ReplaceRow {
    const char* what;
    // Plants what stands at "rapport" in the folder (and a victim "victime" holding "gardé").
    std::function<bool(const TempDir&)> plant;
    CReplacingFile::Mode mode;
    int status;
    std::string atName;  // what "rapport" holds afterwards
    size_t names;        // the folder's names afterwards: no temporary file left behind
};

void PrintTo(const ReplaceRow& row, std::ostream* os) {
    *os << row.what;
}

bool Victim(const TempDir& dir) {
    return dir.WriteFile("victime", "gardé");
}

const ReplaceRow kReplaceRows[] = {
    {"new_file", [](const TempDir&) { return true; }, CReplacingFile::Mode::kReplace, FILE_OK,
     "nouveau", 1},
    {"replaces_a_file", [](const TempDir& d) { return d.WriteFile("rapport", "ancien"); },
     CReplacingFile::Mode::kReplace, FILE_OK, "nouveau", 1},
    {"keeps_a_file_when_asked_to",
     [](const TempDir& d) { return d.WriteFile("rapport", "ancien"); },
     CReplacingFile::Mode::kCreateOnly, FILE_REFUSED_EXISTS, "ancien", 1},
    {"refuses_a_symbolic_link",
     [](const TempDir& d) { return Victim(d) && d.Link("rapport", d / "victime"); },
     CReplacingFile::Mode::kReplace, FILE_REFUSED_SYMLINK, "gardé", 2},
    {"refuses_a_dangling_link", [](const TempDir& d) { return d.Link("rapport", d / "nulle"); },
     CReplacingFile::Mode::kReplace, FILE_REFUSED_SYMLINK, "", 1},
    {"refuses_a_hard_link",
     [](const TempDir& d) {
         return Victim(d) && ::link((d / "victime").c_str(), (d / "rapport").c_str()) == 0;
     },
     CReplacingFile::Mode::kReplace, FILE_REFUSED_LINKED, "gardé", 2},
    {"refuses_a_fifo",
     [](const TempDir& d) { return ::mkfifo((d / "rapport").c_str(), 0600) == 0; },
     CReplacingFile::Mode::kReplace, FILE_REFUSED_NOT_REGULAR, "", 1},
    {"refuses_a_folder", [](const TempDir& d) { return d.MakeDir("rapport"); },
     CReplacingFile::Mode::kReplace, EISDIR, "", 1},
};

class ReplacingFileRows : public ::testing::TestWithParam<ReplaceRow> {};

TEST_P(ReplacingFileRows, NameHoldsTheOldFileOrTheNewOneWhole) {
    const ReplaceRow& row = GetParam();
    TempDir dir;
    ASSERT_TRUE(row.plant(dir));
    const int status = ReplaceFile(dir / "rapport", "nouveau", row.mode);
    EXPECT_EQ(status, row.status) << FileStatusReason(status);
    if (row.status != FILE_REFUSED_NOT_REGULAR && row.status != EISDIR) {
        EXPECT_EQ(Contents(dir / "rapport"), row.atName);
    }
    EXPECT_EQ(Names(dir.Path()), row.names);
    if (::access((dir / "victime").c_str(), F_OK) == 0) {
        EXPECT_EQ(Contents(dir / "victime"), "gardé");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ReplacingFileRows, ::testing::ValuesIn(kReplaceRows),
                         [](const auto& info) { return std::string(info.param.what); });

// Stopped before it was complete (the tool killed, an error), the new file never shows.
TEST(ReplacingFileTest, UnfinishedWriteLeavesThePreviousFile) {
    TempDir dir;
    ASSERT_TRUE(dir.WriteFile("rapport.pdf", "%PDF ancien %%EOF"));
    {
        CReplacingFile file(dir / "rapport.pdf");
        ASSERT_EQ(file.Open(), FILE_OK);
        ASSERT_EQ(file.Write("%PDF moitié"), FILE_OK);
        EXPECT_EQ(Contents(dir / "rapport.pdf"), "%PDF ancien %%EOF");
        EXPECT_EQ(Contents(file.TemporaryPath()), "%PDF moitié");
        EXPECT_EQ(file.TemporaryPath().rfind(dir.Path() + "/", 0), 0u) << "beside the file";
    }
    EXPECT_EQ(Contents(dir / "rapport.pdf"), "%PDF ancien %%EOF");
    EXPECT_EQ(Names(dir.Path()), 1u);
}

// Past `ulimit -f` the write fails with its reason instead of killing the tool, and the torn
// temporary file goes.
TEST(ReplacingFileTest, FileSizeLimitIsAReasonNotADeath) {
    TempDir dir;
    ASSERT_TRUE(dir.WriteFile("rapport.html", "ancien"));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int status = ReplaceFile(dir / "rapport.html", std::string(10000, 'x'));
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    EXPECT_EQ(status, EFBIG);
    EXPECT_EQ(FileStatusReason(status), "taille de fichier permise dépassée");
    EXPECT_EQ(Contents(dir / "rapport.html"), "ancien");
    EXPECT_EQ(Names(dir.Path()), 1u);
}

TEST(ReplacingFileTest, KeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    ASSERT_TRUE(dir.WriteFile("reseau", "Nord\n"));
    ASSERT_EQ(::chmod((dir / "reseau").c_str(), 0640), 0);
    ASSERT_EQ(ReplaceFile(dir / "reseau", "Sud\n"), FILE_OK);
    struct stat status {};
    ASSERT_EQ(::stat((dir / "reseau").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

struct ReadRow {
    const char* what;
    std::function<bool(const TempDir&)> plant;  // at "reseau"
    int status;
    std::string bytes;
};

void PrintTo(const ReadRow& row, std::ostream* os) {
    *os << row.what;
}

const ReadRow kReadRows[] = {
    {"regular_file", [](const TempDir& d) { return d.WriteFile("reseau", "Nord"); }, FILE_OK,
     "Nord"},
    {"symbolic_link",
     [](const TempDir& d) {
         return d.WriteFile("cible", "Nord\n") && d.Link("reseau", d / "cible");
     },
     FILE_REFUSED_SYMLINK, ""},
    // Opened without O_NONBLOCK, a FIFO with no writer never lets the open return.
    {"fifo", [](const TempDir& d) { return ::mkfifo((d / "reseau").c_str(), 0600) == 0; },
     FILE_REFUSED_NOT_REGULAR, ""},
    {"longer_than_the_limit",
     [](const TempDir& d) { return d.WriteFile("reseau", std::string(9000, 'x')); },
     FILE_REFUSED_TOO_LONG, ""},
    {"missing", [](const TempDir&) { return true; }, ENOENT, ""},
};

class ReadOwnFileRows : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadOwnFileRows, OnlyARegularFileIsRead) {
    const ReadRow& row = GetParam();
    TempDir dir;
    ASSERT_TRUE(row.plant(dir));
    std::string bytes = "before";
    EXPECT_EQ(ReadOwnFile(dir / "reseau", 8192, bytes), row.status);
    EXPECT_EQ(bytes, row.bytes);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadOwnFileRows, ::testing::ValuesIn(kReadRows),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
