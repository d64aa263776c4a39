#include "PortFailure.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "PortFailureTexts.h"
#include "PortStatus.h"

namespace {

struct CauseRow {
    int err;
    const char* cause;
};

// One row per system error a technician meets on a serial port.
constexpr CauseRow kCauses[] = {
    {EACCES, kCausePermission}, {EPERM, kCausePermission}, {EBUSY, kCauseBusy},
    {EWOULDBLOCK, kCauseBusy},  {ENOENT, kCauseGone},      {ENODEV, kCauseGone},
    {ENXIO, kCauseGone},        {ENOTTY, kCauseNotSerial}, {EISDIR, kCauseNotSerial},
    {EIO, kCauseLost},          {EPIPE, kCauseLost},
};

constexpr std::string_view kHolderMark = "%1";

// Another channel's exclusive open (EBUSY) or its lock (EWOULDBLOCK).
bool IsBusy(int err) {
    return err == EBUSY || err == EWOULDBLOCK;
}

}  // namespace

int PortStatusFromErrno(int err) {
    return err == 0 ? PORT_OK : PORT_FAILED;
}

bool IsPortFailure(int err) {
    return err != 0 && err != ETIMEDOUT;
}

std::string PortFailureCause(int err, const std::string& holders) {
    for (const CauseRow& row : kCauses) {
        if (row.err != err) {
            continue;
        }
        std::string cause = row.cause;
        const size_t mark = cause.find(kHolderMark);
        if (mark != std::string::npos) {
            cause.replace(mark, kHolderMark.size(), holders.empty() ? "" : " (" + holders + ")");
        }
        return cause;
    }
    return {};
}

std::string SystemErrorText(int err) {
    return err == 0 ? std::string() : std::string(std::strerror(err));
}

DescribedFailure DescribePortFailure(int err, const std::string& device,
                                     const CPortHolders& holders) {
    const std::string holding = IsBusy(err) ? holders.Describe(device) : std::string();
    return {PortStatusFromErrno(err), PortFailureCause(err, holding), SystemErrorText(err)};
}
