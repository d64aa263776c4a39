#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CExchange.h"
#include "CFakeClock.h"
#include "CFileDescriptor.h"
#include "CPortDirectory.h"
#include "CRecordingHost.h"
#include "CSerialPort.h"
#include "PortName.h"
#include "PtyPair.h"
#include "TempDir.h"

namespace {

// A sysfs-like tree and a runtime folder, shaped like those of a machine with one on-board
// UART, three legacy placeholders, two USB adapters, an ACM modem, the UART of a single-board
// computer, one on an add-on board and two virtual ports.
class PortDirectoryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.Path().empty());
        ASSERT_TRUE(first.Valid() && second.Valid());
        // On-board UART on the PNP bus.
        ASSERT_TRUE(Tty("ttyS0", "devices/pnp0/00:04", "bus/pnp"));
        // Placeholders registered by the legacy driver without hardware.
        for (const char* name : {"ttyS1", "ttyS2", "ttyS3"}) {
            ASSERT_TRUE(Tty(name, "devices/platform/serial8250", "bus/platform"));
        }
        // usb-serial port -> interface -> USB device with a product string.
        ASSERT_TRUE(Tty("ttyUSB0", "devices/pci0/usb1/1-1/1-1:1.0/ttyUSB0", "bus/usb-serial"));
        ASSERT_TRUE(dir.WriteFile("sys/devices/pci0/usb1/1-1/idVendor", "0403\n"));
        ASSERT_TRUE(dir.WriteFile("sys/devices/pci0/usb1/1-1/product", "FT232R USB UART\n"));
        // A product string with control bytes in it.
        ASSERT_TRUE(Tty("ttyUSB1", "devices/pci0/usb1/1-3/1-3:1.0/ttyUSB1", "bus/usb-serial"));
        ASSERT_TRUE(dir.WriteFile("sys/devices/pci0/usb1/1-3/idVendor", "1a86\n"));
        ASSERT_TRUE(dir.WriteFile("sys/devices/pci0/usb1/1-3/product", "\tUSB\x1b[2J Serial\n"));
        // ACM: no product, but the interface names itself.
        ASSERT_TRUE(Tty("ttyACM2", "devices/pci0/usb1/1-2/1-2:1.0", "bus/usb"));
        ASSERT_TRUE(dir.WriteFile("sys/devices/pci0/usb1/1-2/idVendor", "2341\n"));
        ASSERT_TRUE(dir.WriteFile("sys/devices/pci0/usb1/1-2/1-2:1.0/interface", "CDC ACM\n"));
        ASSERT_TRUE(Tty("ttyAMA0", "devices/platform/soc/fe201000.serial", "bus/amba"));
        ASSERT_TRUE(dir.WriteFile("sys/class/tty/ttyAMA0/type", "32\n"));
        // An add-on board's UART: its name starts like a legacy port's but is none.
        ASSERT_TRUE(Tty("ttySC1", "devices/platform/soc/spi0.0", "bus/platform"));
        // Entries to skip: no device link, no device node, not a serial name, junk names.
        ASSERT_TRUE(dir.MakeDir("sys/class/tty/ttyS4"));
        ASSERT_TRUE(dir.WriteFile("dev/ttyS4", ""));
        ASSERT_TRUE(
            Tty("ttyUSB2", "devices/pci0/usb1/1-4/1-4:1.0/ttyUSB2", "bus/usb-serial", false));
        ASSERT_TRUE(Tty("tty0", "devices/virtual/tty/tty0", "class/tty"));
        ASSERT_TRUE(Tty("ttyS01", "devices/pnp0/00:05", "bus/pnp"));
        ASSERT_TRUE(Tty("ttyUSB100", "devices/pci0/usb1/1-5/1-5:1.0", "bus/usb"));

        ASSERT_TRUE(dir.MakeDir("run"));
        ASSERT_EQ(chmod((dir / "run").c_str(), 0700), 0);
        ASSERT_TRUE(dir.Link("run/COM950", second.SlavePath()));
        ASSERT_TRUE(dir.Link("run/COM901", first.SlavePath()));
        ASSERT_TRUE(dir.Link("run/COM960", dir / "gone"));
        ASSERT_TRUE(dir.Link("run/COM5", first.SlavePath()));
        ASSERT_TRUE(dir.Link("run/COM0902", first.SlavePath()));
        ASSERT_TRUE(dir.Link("run/COM1000", first.SlavePath()));
        ASSERT_TRUE(dir.WriteFile("run/COM903", "a plain file, not a link"));
        ASSERT_TRUE(dir.WriteFile("run/notes.txt", ""));
    }

    // A tty entry whose `device` link leads to `devicePath`, on `subsystem`, with or without
    // its node under dev/.
    bool Tty(const std::string& name, const std::string& devicePath, const std::string& subsystem,
             bool withNode = true) {
        const std::string device = "sys/" + devicePath;
        std::error_code ec;
        const bool shared = std::filesystem::is_symlink(dir / (device + "/subsystem"), ec);
        return dir.MakeDir("sys/class/tty/" + name) && dir.MakeDir(device) &&
               dir.MakeDir("sys/" + subsystem) &&
               dir.Link("sys/class/tty/" + name + "/device", dir / device) &&
               (shared || dir.Link(device + "/subsystem", dir / ("sys/" + subsystem))) &&
               (!withNode || dir.WriteFile("dev/" + name, ""));
    }

    CPortDirectory Directory() const {
        return CPortDirectory({dir / "sys/class/tty", dir / "dev", dir / "run"});
    }

    static std::string Pts(const PtyPair& pty) { return pty.SlavePath().substr(5); }

    TempDir dir;
    PtyPair first;
    PtyPair second;
};

TEST_F(PortDirectoryTest, ListsRealPortsByNumberThenVirtualOnes) {
    const std::vector<PortEntry> ports = Directory().List();
    std::vector<std::string> names;
    for (const PortEntry& p : ports) {
        names.push_back(p.name);
    }
    const std::vector<std::string> expected = {
        "COM1 (ttyS0)",
        "COM101 (ttyUSB0: FT232R USB UART)",
        "COM102 (ttyUSB1: USB [2J Serial)",
        "COM203 (ttyACM2: CDC ACM)",
        "COM301 (ttyAMA0)",
        "COM402 (ttySC1)",
        "COM901 (" + Pts(first) + ": port virtuel)",
        "COM950 (" + Pts(second) + ": port virtuel)",
    };
    EXPECT_EQ(names, expected);
}

TEST_F(PortDirectoryTest, EveryListedNumberMapsBackToItsOwnDevice) {
    const CPortDirectory directory = Directory();
    const std::vector<PortEntry> ports = directory.List();
    ASSERT_FALSE(ports.empty());
    for (const PortEntry& p : ports) {
        // The setup dialog reads the number with atoi from the fourth character.
        EXPECT_EQ(std::atoi(p.name.c_str() + 3), p.number) << p.name;
        EXPECT_EQ(directory.PathFor(p.number), std::optional<std::string>(p.path)) << p.name;
    }
}

// How many times each watched path was opened, told by the kernel (inotify), so that nothing
// the list does can hide an open.
class COpenCounter {
public:
    explicit COpenCounter(const std::vector<std::string>& paths)
        : fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const std::string& path : paths) {
            valid =
                valid && fd.IsValid() && inotify_add_watch(fd.Get(), path.c_str(), IN_OPEN) >= 0;
        }
    }
    bool Valid() const { return valid; }
    int Opens() const {
        int opens = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t n; (n = read(fd.Get(), events, sizeof events)) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                opens += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return opens;
    }

private:
    CFileDescriptor fd;
    bool valid = true;
};

TEST_F(PortDirectoryTest, BuildingTheListOpensNoDevice) {
    const COpenCounter counter({first.SlavePath(), second.SlavePath(), dir / "dev"});
    ASSERT_TRUE(counter.Valid());
    EXPECT_EQ(Directory().List().size(), 8u);
    EXPECT_EQ(counter.Opens(), 0);
    // The count sees what it is asked to see.
    CSerialPort port;
    const CPortDirectory directory = Directory();
    port.SetPortDirectory(&directory);
    ASSERT_EQ(port.Open(901, 19200, 'n', 8, 1, 'n'), PORT_OK);
    EXPECT_GE(counter.Opens(), 1);
}

// What a link in the runtime folder leads to, and whether the port list shows it to a desktop
// user (not root: root may open any device). A terminal that user may not open is listed all
// the same, and sending to it tells why it failed.
enum class Target { kTerminal, kLockedTerminal, kDevNull, kFifo, kFolder, kFile, kTty, kPtmx };

struct TargetCase {
    const char* name;
    Target target;
    bool listed;
    const char* causeHas;  // in the cause a configuration sent to it gives; nullptr: none
};

class VirtualTargetTable : public testing::TestWithParam<TargetCase> {
protected:
    // The link's target, made ready for the user the list runs as.
    std::string Plant(Target target) {
        switch (target) {
            case Target::kTerminal:
                return Hand(pty.SlavePath(), user, 0600) ? pty.SlavePath() : "";
            case Target::kLockedTerminal: {
                const group* dialout = getgrnam("dialout");
                const gid_t gid = dialout != nullptr ? dialout->gr_gid : 20;
                // Not running as root, the user is the owner; a mode of 0 then locks it out.
                return user != 0 ? (Hand(pty.SlavePath(), user, 0) ? pty.SlavePath() : "")
                                 : (Hand(pty.SlavePath(), 0, 0660, gid) ? pty.SlavePath() : "");
            }
            case Target::kDevNull:
                return "/dev/null";
            case Target::kFifo:
                return mkfifo((home / "fifo").c_str(), 0666) == 0 ? home / "fifo" : "";
            case Target::kFolder:
                return home / "run";
            case Target::kFile:
                return home.WriteFile("file", "") ? home / "file" : "";
            case Target::kTty:
                return "/dev/tty";
            case Target::kPtmx:
                return "/dev/ptmx";
        }
        return {};
    }
    static bool Hand(const std::string& path, uid_t owner, mode_t mode, gid_t group = -1) {
        return chown(path.c_str(), owner, group) == 0 && chmod(path.c_str(), mode) == 0;
    }

    // In a child running as `user`: "1" when COM950 is listed, "0" when not; after "1", the
    // cause a configuration sent to it gives.
    std::string ListAndSendAsUser() {
        int fds[2];
        if (pipe(fds) != 0) {
            return {};
        }
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            const passwd* nobody = getpwnam("nobody");
            if (geteuid() == 0 && (nobody == nullptr || setgroups(0, nullptr) != 0 ||
                                   setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)) {
                _exit(1);
            }
            const std::string said = ListAndSend();
            _exit(write(fds[1], said.data(), said.size()) == static_cast<ssize_t>(said.size()) ? 0
                                                                                               : 1);
        }
        close(fds[1]);
        std::string said;
        char chunk[512];
        for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;) {
            said.append(chunk, static_cast<size_t>(n));
        }
        close(fds[0]);
        int status = 0;
        return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                       WEXITSTATUS(status) == 0
                   ? said
                   : std::string();
    }
    std::string ListAndSend() const {
        CPortDirectory::Roots roots;
        roots.sysClassTty = home / "none";
        roots.dev = home / "none";
        roots.runtime = home / "run";
        const CPortDirectory directory(roots);
        bool listed = false;
        for (const PortEntry& p : directory.List()) {
            listed = listed || p.number == 950;
        }
        if (!listed) {
            return "0";
        }
        CSerialPort port;
        port.SetPortDirectory(&directory);
        CRecordingHost host;
        // The deadline passes after the first attempt: a silent terminal costs one second.
        CFakeClock clock(0, 16000);
        CExchange(port, host, clock).SendConfig({5, 12, 7, "A", 3, 100}, 950, kCustomVariant);
        return "1" + (host.Failures().empty() ? std::string() : host.Failures()[0].cause);
    }

    void SetUp() override {
        const passwd* nobody = getpwnam("nobody");
        user = geteuid() == 0 && nobody != nullptr ? nobody->pw_uid : geteuid();
        ASSERT_TRUE(pty.Valid());
        ASSERT_EQ(chmod(home.Path().c_str(), 0711), 0);
        ASSERT_TRUE(home.MakeDir("run"));
        ASSERT_TRUE(Hand(home / "run", user, 0700));
    }

    TempDir home;
    PtyPair pty;
    uid_t user = 0;
};

TEST_P(VirtualTargetTable, ListsTerminalsTheUserMayOrMayNotOpen) {
    const TargetCase& c = GetParam();
    const std::string target = Plant(c.target);
    ASSERT_FALSE(target.empty());
    ASSERT_EQ(symlink(target.c_str(), (home / "run/COM950").c_str()), 0);
    const std::string said = ListAndSendAsUser();
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said[0] == '1', c.listed) << said;
    if (c.causeHas != nullptr) {
        EXPECT_NE(said.find(c.causeHas), std::string::npos) << said;
    } else if (c.listed) {
        EXPECT_EQ(said, "1");
    }
}

const TargetCase kTargets[] = {
    {"Terminal", Target::kTerminal, true, nullptr},
    {"TerminalTheUserMayNotOpen", Target::kLockedTerminal, true, "groupe dialout"},
    {"DevNull", Target::kDevNull, false, nullptr},
    {"Fifo", Target::kFifo, false, nullptr},
    {"Folder", Target::kFolder, false, nullptr},
    {"PlainFile", Target::kFile, false, nullptr},
    {"ControllingTerminal", Target::kTty, false, nullptr},
    {"PseudoTerminalMaster", Target::kPtmx, false, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cases, VirtualTargetTable, testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

struct PathCase {
    const char* name;
    int32_t number;
    const char* relative;  // under the temporary tree; nullptr: no path
};

class PathForTable : public PortDirectoryTest, public testing::WithParamInterface<PathCase> {};

TEST_P(PathForTable, AppliesTheRuleDirectly) {
    const PathCase& c = GetParam();
    ASSERT_TRUE(dir.WriteFile("dev/ttyS99", ""));
    const std::optional<std::string> path = Directory().PathFor(c.number);
    if (c.relative == nullptr) {
        EXPECT_EQ(path, std::nullopt);
    } else {
        EXPECT_EQ(path, std::optional<std::string>(dir / c.relative));
    }
}

const PathCase kPaths[] = {
    {"FirstSerial", 1, "dev/ttyS0"},
    {"LastSerial", 100, "dev/ttyS99"},
    // Placeholders are not listed but still map by rule when their node exists.
    {"PlaceholderNode", 2, "dev/ttyS1"},
    {"SerialWithoutNode", 6, nullptr},
    {"FirstUsb", 101, "dev/ttyUSB0"},
    {"UsbWithoutNode", 103, nullptr},
    {"Acm", 203, "dev/ttyACM2"},
    {"AcmWithoutNode", 201, nullptr},
    {"Zero", 0, nullptr},
    {"Negative", -3, nullptr},
    {"Ama", 301, "dev/ttyAMA0"},
    {"LastFamilyWithoutNode", 800, nullptr},
    {"NoFamilyYet", 801, nullptr},
    {"BelowVirtual", 899, nullptr},
    {"AboveVirtual", 1000, nullptr},
    {"VirtualNotAnnounced", 999, nullptr},
    {"VirtualDangling", 960, nullptr},
    {"VirtualPlainFile", 903, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cases, PathForTable, testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortDirectoryTest, VirtualPortResolvesToThePseudoTerminal) {
    EXPECT_EQ(Directory().PathFor(901), std::optional<std::string>(first.SlavePath()));
    EXPECT_EQ(Directory().PathFor(950), std::optional<std::string>(second.SlavePath()));
}

TEST_F(PortDirectoryTest, RuntimeFolderOthersCanWriteIsIgnored) {
    ASSERT_EQ(chmod((dir / "run").c_str(), 0777), 0);
    const CPortDirectory directory = Directory();
    EXPECT_EQ(directory.PathFor(901), std::nullopt);
    for (const PortEntry& p : directory.List()) {
        EXPECT_LT(p.number, CPortDirectory::kFirstVirtual) << p.name;
    }
    EXPECT_EQ(directory.List().size(), 6u);
}

TEST_F(PortDirectoryTest, MissingTreesGiveAnEmptyList) {
    const CPortDirectory nothing({dir / "none/sys", dir / "none/dev", dir / "none/run"});
    EXPECT_TRUE(nothing.List().empty());
    EXPECT_EQ(nothing.PathFor(1), std::nullopt);
    EXPECT_EQ(nothing.PathFor(901), std::nullopt);
}

TEST_F(PortDirectoryTest, LongDescriptionIsCutOnACharacterBoundary) {
    std::string product;
    for (int i = 0; i < 40; ++i) {
        product += "\xc3\xa9";  // é, two bytes each
    }
    ASSERT_TRUE(dir.WriteFile("sys/devices/pci0/usb1/1-1/product", product + "\n"));
    const std::vector<PortEntry> ports = Directory().List();
    ASSERT_GE(ports.size(), 2u);
    const std::string& name = ports[1].name;
    ASSERT_EQ(name.rfind("COM101 (ttyUSB0: ", 0), 0u) << name;
    const std::string shown = name.substr(17, name.size() - 18);
    EXPECT_EQ(shown, product.substr(0, 64));
    EXPECT_EQ(name.back(), ')');
}

// A legacy ttyS<k> counts only with a UART behind it: its `type` says so on every kernel; the
// bus it hangs off (platform before 6.5, serial-base after) is the sign only without `type`.
struct LegacySerialCase {
    const char* name;
    const char* devicePath;
    const char* subsystem;
    const char* type;  // nullptr: no such attribute
    bool listed;
};

class LegacySerialTable : public PortDirectoryTest,
                          public testing::WithParamInterface<LegacySerialCase> {};

TEST_P(LegacySerialTable, CountsOnlyWithAUart) {
    const LegacySerialCase& c = GetParam();
    ASSERT_TRUE(Tty("ttyS8", c.devicePath, c.subsystem));
    if (c.type != nullptr) {
        ASSERT_TRUE(dir.WriteFile("sys/class/tty/ttyS8/type", c.type));
    }
    bool listed = false;
    for (const PortEntry& p : Directory().List()) {
        listed = listed || p.name == "COM9 (ttyS8)";
    }
    EXPECT_EQ(listed, c.listed);
}

const LegacySerialCase kLegacySerials[] = {
    {"PlatformWithoutType", "devices/platform/serial8250", "bus/platform", nullptr, false},
    {"PlatformTypeZero", "devices/platform/serial8250", "bus/platform", "0\n", false},
    {"PlatformWithUart", "devices/platform/serial8250", "bus/platform", "4\n", true},
    {"PnpWithoutType", "devices/pnp0/00:06", "bus/pnp", nullptr, true},
    {"PnpTypeZero", "devices/pnp0/00:06", "bus/pnp", "0\n", false},
    {"SerialBaseTypeZero", "devices/platform/serial8250/serial8250:0/serial8250:0.8",
     "bus/serial-base", "0\n", false},
    {"SerialBaseWithUart", "devices/platform/serial8250/serial8250:0/serial8250:0.8",
     "bus/serial-base", "4\n", true},
    {"TypeNotANumberFallsBackToTheBus", "devices/platform/serial8250", "bus/platform", "?\n",
     false},
};

INSTANTIATE_TEST_SUITE_P(Cases, LegacySerialTable, testing::ValuesIn(kLegacySerials),
                         [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* tty;
    std::optional<int32_t> number;
};

class NumberForDeviceTable : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberForDeviceTable, MapsKernelNames) {
    EXPECT_EQ(CPortDirectory::NumberForDevice(GetParam().tty), GetParam().number) << GetParam().tty;
}

// Families beside the first three take ranges of their own below the virtual ports.
const NumberCase kNumbers[] = {
    {"ttyS0", 1},      {"ttyS99", 100},  {"ttyUSB0", 101}, {"ttyUSB99", 200},   {"ttyACM0", 201},
    {"ttyACM99", 300}, {"ttyS", {}},     {"ttyS01x", {}},  {"ttyS01", {}},      {"ttyS100", {}},
    {"ttyUSB100", {}}, {"ttyS-1", {}},   {" ttyS1", {}},   {"ttyS1 ", {}},      {"ttyUSB", {}},
    {"ttyacm0", {}},   {"tty0", {}},     {"", {}},         {"ttyAMA0", 301},    {"ttyAMA99", 400},
    {"ttySC0", 401},   {"ttymxc1", 502}, {"ttyTHS2", 603}, {"ttyXRUSB99", 800}, {"ttyO0", {}},
    {"ttyAMA100", {}}, {"ttySCx", {}},   {"ttyama0", {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, NumberForDeviceTable, testing::ValuesIn(kNumbers));

class PortNameTable : public testing::TestWithParam<NumberCase> {};

// Each number has the one name it is built as.
TEST_P(PortNameTable, ParsesOnlyTheNameItBuilds) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(PortName::Parse(c.tty), c.number) << c.tty;
    if (c.number) {
        EXPECT_EQ(PortName::Of(*c.number), c.tty);
    }
}

const NumberCase kPortNames[] = {
    {"COM0", 0},
    {"COM3", 3},
    {"COM950", 950},
    {"COM2147483647", INT32_MAX},
    {"COM2147483648", {}},
    {"COM99999999999", {}},
    {"COM09", {}},
    {"COM00", {}},
    {"com3", {}},
    {"Com3", {}},
    {"COM", {}},
    {"", {}},
    {"3", {}},
    {"COM-1", {}},
    {"COM+1", {}},
    {" COM3", {}},
    {"COM3 ", {}},
    {"COM3x", {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PortNameTable, testing::ValuesIn(kPortNames));

class RuntimeFolder : public testing::Test {
protected:
    void SetUp() override {
        const char* value = std::getenv("XDG_RUNTIME_DIR");
        saved = value ? std::optional<std::string>(value) : std::nullopt;
    }
    void TearDown() override {
        if (saved) {
            setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }
    std::optional<std::string> saved;
};

TEST_F(RuntimeFolder, FollowsTheDesktopRuntimeDirectory) {
    const std::string fallback = "/tmp/zav7305-" + std::to_string(getuid());
    setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(CPortDirectory::DefaultRuntimeFolder(), "/run/user/1234/zav7305");
    setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(CPortDirectory::DefaultRuntimeFolder(), fallback);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(CPortDirectory::DefaultRuntimeFolder(), fallback);
}

TEST_F(RuntimeFolder, DefaultDirectoryReadsTheDefaultFolder) {
    TempDir runtime;
    PtyPair pty;
    ASSERT_TRUE(pty.Valid());
    ASSERT_TRUE(runtime.Link("zav7305/COM907", pty.SlavePath()));
    ASSERT_EQ(chmod((runtime / "zav7305").c_str(), 0700), 0);
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    const CPortDirectory directory;
    EXPECT_EQ(directory.PathFor(907), std::optional<std::string>(pty.SlavePath()));
}

}  // namespace
