#include "PortFailureCause.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "PortFailureTexts.h"

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

}  // namespace

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

bool IsPortFailure(int err) {
    return err != 0 && err != ETIMEDOUT;
}

std::string SystemErrorText(int err) {
    return err == 0 ? std::string() : std::string(std::strerror(err));
}
