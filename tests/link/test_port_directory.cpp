#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CPortDirectory.h"
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
