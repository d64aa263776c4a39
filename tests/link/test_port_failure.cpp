#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "CPortHolders.h"
#include "PortFailure.h"
#include "PortFailureTexts.h"
#include "PortStatus.h"
#include "ProtocolTexts.h"
#include "TempDir.h"

namespace {

struct CauseRow {
    const char* name;
    int err;
    const char* cause;  // nullptr: no cause, the message stays alone
    bool portFailure;
};

class CauseTable : public testing::TestWithParam<CauseRow> {};

TEST_P(CauseTable, MapsTheSystemErrorToItsCause) {
    const CauseRow& row = GetParam();
    if (row.cause != nullptr) {
        // The busy text takes its holders where %1 stands; without any, nothing is left there.
        std::string expected = row.cause;
        const size_t mark = expected.find("%1");
        if (mark != std::string::npos) {
            expected.erase(mark, 2);
        }
        EXPECT_EQ(PortFailureCause(row.err), expected);
    } else {
        EXPECT_EQ(PortFailureCause(row.err), "");
    }
    EXPECT_EQ(IsPortFailure(row.err), row.portFailure);
}

const CauseRow kCauses[] = {
    {"NotInDialout", EACCES, kCausePermission, true},
    {"NotPermitted", EPERM, kCausePermission, true},
    {"HeldWithTiocexcl", EBUSY, kCauseBusy, true},
    {"HeldWithALock", EWOULDBLOCK, kCauseBusy, true},
    {"NodeGone", ENOENT, kCauseGone, true},
    {"DriverGone", ENODEV, kCauseGone, true},
    {"NoSuchAddress", ENXIO, kCauseGone, true},
    {"NotATerminal", ENOTTY, kCauseNotSerial, true},
    {"ADirectory", EISDIR, kCauseNotSerial, true},
    {"HungUpOrIoError", EIO, kCauseLost, true},
    {"BrokenPipe", EPIPE, kCauseLost, true},
    // A silent device and no error at all keep the message as it always was.
    {"SilentDevice", ETIMEDOUT, nullptr, false},
    {"NoError", 0, nullptr, false},
    // Known to the system but not to the table: the system's text alone.
    {"SettingsRefused", EINVAL, nullptr, true},
};

INSTANTIATE_TEST_SUITE_P(Rows, CauseTable, testing::ValuesIn(kCauses),
                         [](const auto& info) { return std::string(info.param.name); });

// A /proc-like tree: processes with descriptors on the port, on another device, and this
// process itself, which is never its own port's holder.
TEST(PortHolders, FindsEveryOtherProcessWithTheDeviceOpen) {
    TempDir proc;
    const std::string self = std::to_string(getpid());
    ASSERT_TRUE(proc.WriteFile("812/comm", "ModemManager\n"));
    ASSERT_TRUE(proc.Link("812/fd/0", "/dev/null"));
    ASSERT_TRUE(proc.Link("812/fd/7", "/dev/ttyACM0"));
    ASSERT_TRUE(proc.WriteFile("2001/comm", "minicom\n"));
    ASSERT_TRUE(proc.Link("2001/fd/3", "/dev/ttyACM0"));
    ASSERT_TRUE(proc.WriteFile("77/comm", "screen\n"));
    ASSERT_TRUE(proc.Link("77/fd/3", "/dev/ttyACM01"));
    ASSERT_TRUE(proc.WriteFile(self + "/comm", "zav7305\n"));
    ASSERT_TRUE(proc.Link(self + "/fd/9", "/dev/ttyACM0"));
    ASSERT_TRUE(proc.MakeDir("900/fd"));  // a process this account may not look into
    ASSERT_TRUE(proc.Link("self", self));
    ASSERT_TRUE(proc.WriteFile("locks", ""));

    const CPortHolders holders(proc.Path());
    EXPECT_EQ(holders.Describe("/dev/ttyACM0"),
              "ModemManager, processus 812 ; minicom, processus 2001");
    EXPECT_EQ(holders.Describe("/dev/ttyUSB0"), "");
    EXPECT_EQ(holders.Describe(""), "");
    EXPECT_EQ(CPortHolders(proc / "missing").Describe("/dev/ttyACM0"), "");

    // A busy port names its holders beside the system's own text.
    const DescribedFailure busy = DescribePortFailure(EBUSY, "/dev/ttyACM0", holders);
    EXPECT_EQ(busy.status, PORT_FAILED);
    EXPECT_NE(busy.cause.find("(ModemManager, processus 812 ; minicom, processus 2001)"),
              std::string::npos)
        << busy.cause;
    EXPECT_EQ(busy.systemError, std::strerror(EBUSY));
    EXPECT_EQ(DescribePortFailure(0, "/dev/ttyACM0", holders).status, PORT_OK);
}

}  // namespace
