#include "CPortDirectory.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "PortName.h"

namespace fs = std::filesystem;

namespace {

struct TtyFamily {
    std::string_view prefix;
    int32_t firstNumber;
};

// Each family keeps its range for good: a family added later takes a range of its own, so no
// port ever changes number.
constexpr std::array<TtyFamily, 8> kFamilies{{
    {"ttyS", 1},
    {"ttyUSB", 101},
    {"ttyACM", 201},
    {"ttyAMA", 301},    // on-chip UART of single-board computers
    {"ttySC", 401},     // UARTs on an SPI or I2C add-on board
    {"ttymxc", 501},    // on-chip UART of i.MX boards
    {"ttyTHS", 601},    // on-chip UART of Tegra boards
    {"ttyXRUSB", 701},  // USB adapters with their maker's own driver
}};
constexpr int32_t kPortsPerFamily = 100;

bool IsLegacySerial(int32_t number) {
    const TtyFamily& ttyS = kFamilies[0];
    return number >= ttyS.firstNumber && number < ttyS.firstNumber + kPortsPerFamily;
}
constexpr size_t kAttributeBytes = 256;
constexpr size_t kDescriptionBytes = 64;
// tty device -> usb-serial port -> interface -> USB device is the longest road in sysfs.
constexpr int kUsbSearchDepth = 4;
// /dev/tty, /dev/console and /dev/ptmx stand for another terminal or make a new pair when
// opened: none of them is a port.
constexpr unsigned int kTtyAuxMajor = 5;
constexpr decltype(statfs::f_type) kDevptsMagic = 0x1cd1;

// Decimal digits without sign, blanks or leading zeros, so that each number has exactly one
// spelling and the mapping can be inverted.
std::optional<int32_t> ParseIndex(std::string_view digits) {
    if (digits.empty() || digits.size() > 3 || (digits.size() > 1 && digits[0] == '0')) {
        return std::nullopt;
    }
    int32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int32_t> VirtualNumber(std::string_view name) {
    const std::optional<int32_t> n = PortName::Parse(name);
    if (!n || *n < CPortDirectory::kFirstVirtual || *n > CPortDirectory::kLastVirtual) {
        return std::nullopt;
    }
    return n;
}

// Links in a folder that someone else could write to would let them point our port numbers
// at a device of their choosing; such a folder is ignored.
bool IsPrivateFolder(const std::string& folder) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    return info.st_uid == geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A device-supplied text made fit for one line of a list: no control bytes, bounded, and
// never cut inside a UTF-8 sequence.
std::string Printable(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = ' ';
        }
    }
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.size() > kDescriptionBytes) {
        size_t cut = kDescriptionBytes;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text.resize(cut);
    }
    return text;
}

std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    std::string text(kAttributeBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return Printable(text.substr(0, text.find('\n')));
}

std::string UsbDescription(const fs::path& ttyEntry) {
    std::error_code ec;
    fs::path dir = fs::canonical(ttyEntry / "device", ec);
    if (ec) {
        return {};
    }
    std::string interfaceName;
    for (int level = 0; level < kUsbSearchDepth && dir.has_relative_path(); ++level) {
        if (fs::exists(dir / "idVendor", ec)) {
            const std::string product = ReadAttribute(dir / "product");
            return product.empty() ? interfaceName : product;
        }
        if (interfaceName.empty() && fs::exists(dir / "interface", ec)) {
            interfaceName = ReadAttribute(dir / "interface");
        }
        dir = dir.parent_path();
    }
    return interfaceName;
}

// The legacy driver registers ttyS<k> whether or not a UART is there; its `type` is 0 when
// none is (on every kernel). Without that attribute, the older sign: a placeholder hangs off
// a platform device (newer kernels hang every ttyS<k> off serial-base instead).
bool IsPlaceholder(const fs::path& ttyEntry) {
    const std::string type = ReadAttribute(ttyEntry / "type");
    if (!type.empty() &&
        std::all_of(type.begin(), type.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return type.find_first_not_of('0') == std::string::npos;
    }
    std::error_code ec;
    const fs::path subsystem = fs::canonical(ttyEntry / "device" / "subsystem", ec);
    return !ec && subsystem.filename() == "platform";
}

std::string DeviceLabel(const std::string& target) {
    constexpr std::string_view kDev = "/dev/";
    if (target.compare(0, kDev.size(), kDev) == 0) {
        return target.substr(kDev.size());
    }
    return target;
}

// Only a terminal can be a virtual port: a link to a file, a folder, /dev/null or a FIFO is
// not listed. The kind is read from the device number alone: opening a serial port only to
// list it moves its modem lines (some boards reset when DTR does), and a port the user may not
// open must still be listed, so that sending to it tells why it failed.
bool IsTerminal(const std::string& path, const std::string& sysDevChar) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) {
        return false;
    }
    const unsigned int driver = major(info.st_rdev);
    if (driver == kTtyAuxMajor) {
        return false;
    }
    struct statfs filesystem {};
    if (::statfs(path.c_str(), &filesystem) == 0 && filesystem.f_type == kDevptsMagic) {
        return true;
    }
    // Every other terminal driver registers its devices in the tty class.
    std::error_code ec;
    const fs::path subsystem = fs::canonical(
        fs::path(sysDevChar) /
            (std::to_string(driver) + ":" + std::to_string(minor(info.st_rdev))) / "subsystem",
        ec);
    return !ec && subsystem.filename() == "tty";
}

std::optional<std::string> VirtualTarget(const std::string& folder, int32_t number) {
    if (!IsPrivateFolder(folder)) {
        return std::nullopt;
    }
    const fs::path link = fs::path(folder) / PortName::Of(number);
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(link, ec))) {
        return std::nullopt;
    }
    const fs::path target = fs::canonical(link, ec);
    if (ec) {
        return std::nullopt;
    }
    return target.string();
}

}  // namespace

CPortDirectory::CPortDirectory() = default;

CPortDirectory::CPortDirectory(Roots roots) : roots(std::move(roots)) {}

std::string CPortDirectory::DefaultRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return std::string(runtime) + "/zav7305";
    }
    return "/tmp/zav7305-" + std::to_string(getuid());
}

std::optional<int32_t> CPortDirectory::NumberForDevice(const std::string& ttyName) {
    // One prefix may start another (ttyS, ttySC): only digits may follow the one that fits.
    const std::string_view name(ttyName);
    for (const TtyFamily& family : kFamilies) {
        if (name.substr(0, family.prefix.size()) != family.prefix) {
            continue;
        }
        const std::optional<int32_t> k = ParseIndex(name.substr(family.prefix.size()));
        if (k && *k < kPortsPerFamily) {
            return family.firstNumber + *k;
        }
    }
    return std::nullopt;
}

std::optional<std::string> CPortDirectory::PathFor(int32_t number) const {
    if (number >= kFirstVirtual && number <= kLastVirtual) {
        return VirtualTarget(roots.runtime.empty() ? DefaultRuntimeFolder() : roots.runtime,
                             number);
    }
    for (const TtyFamily& family : kFamilies) {
        if (number < family.firstNumber || number >= family.firstNumber + kPortsPerFamily) {
            continue;
        }
        const std::string path = roots.dev + "/" + std::string(family.prefix) +
                                 std::to_string(number - family.firstNumber);
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            return std::nullopt;
        }
        return path;
    }
    return std::nullopt;
}

std::vector<PortEntry> CPortDirectory::List() const {
    std::vector<PortEntry> real;
    std::error_code ec;
    for (fs::directory_iterator it(roots.sysClassTty, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::optional<int32_t> number = NumberForDevice(name);
        std::error_code entryError;
        if (!number || !fs::exists(it->path() / "device", entryError)) {
            continue;
        }
        if (IsLegacySerial(*number) && IsPlaceholder(it->path())) {
            continue;
        }
        const std::string path = roots.dev + "/" + name;
        if (!fs::exists(path, entryError)) {
            continue;
        }
        const std::string description = UsbDescription(it->path());
        const std::string shown = description.empty() ? name : name + ": " + description;
        real.push_back({PortName::Of(*number) + " (" + shown + ")", *number, path});
    }
    std::sort(real.begin(), real.end(),
              [](const PortEntry& a, const PortEntry& b) { return a.number < b.number; });

    std::vector<PortEntry> virtualPorts;
    const std::string folder = roots.runtime.empty() ? DefaultRuntimeFolder() : roots.runtime;
    ec.clear();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<int32_t> number = VirtualNumber(it->path().filename().string());
        if (!number) {
            continue;
        }
        const std::optional<std::string> target = VirtualTarget(folder, *number);
        if (!target || !IsTerminal(*target, roots.sysDevChar)) {
            continue;
        }
        virtualPorts.push_back(
            {PortName::Of(*number) + " (" + DeviceLabel(*target) + ": port virtuel)", *number,
             *target});
    }
    std::sort(virtualPorts.begin(), virtualPorts.end(),
              [](const PortEntry& a, const PortEntry& b) { return a.number < b.number; });

    real.insert(real.end(), virtualPorts.begin(), virtualPorts.end());
    return real;
}
