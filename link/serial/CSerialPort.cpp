#include "CSerialPort.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include "CDeadline.h"
#include "CLineBuffer.h"
#include "CLineSettings.h"
#include "CPortDirectory.h"
#include "CTtyHandle.h"
#include "IWaitService.h"
#include "PortFailure.h"

namespace {

constexpr int64_t kDrainPollMs = 5;

enum class Wait { Ready, TimedOut, HungUp, Failed };

// Waits until fd is ready for `events` or the deadline passes. Signals only shorten the
// individual waits; the deadline stays where it was set. A service given the wait to wait
// along with its own duties changes neither when it ends nor what it reads.
Wait WaitFor(int fd, short events, const CDeadline& deadline, IWaitService* service = nullptr) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int ready =
            service != nullptr ? service->Wait(p, deadline) : IWaitService::Poll(p, deadline);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return Wait::Failed;
        }
        if (ready == 0) {
            if (deadline.Expired()) {
                return Wait::TimedOut;
            }
            continue;
        }
        // Readable data is taken even at a hang-up; read() tells when none is left.
        if ((events & POLLIN) != 0 && (p.revents & POLLIN) != 0) {
            return Wait::Ready;
        }
        if ((p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            return Wait::HungUp;
        }
        return (p.revents & events) != 0 ? Wait::Ready : Wait::HungUp;
    }
}

// The status of a wait that did not find the line ready. A hang-up has no errno of its own; it
// is told as EIO, what a write on that line answers.
int StatusOfWait(Wait wait, int timedOutStatus, int& err) {
    switch (wait) {
        case Wait::Ready:
            break;
        case Wait::TimedOut:
            err = ETIMEDOUT;
            return timedOutStatus;
        case Wait::HungUp:
            err = EIO;
            return PORT_FAILED;
        case Wait::Failed:
            err = errno;
            return PortStatusFromErrno(err);
    }
    return PORT_OK;
}

int ReadByte(int fd, char& byte, const CDeadline& deadline, IWaitService* service, int& err) {
    for (;;) {
        const Wait wait = WaitFor(fd, POLLIN, deadline, service);
        if (wait != Wait::Ready) {
            return StatusOfWait(wait, PORT_FAILED, err);
        }
        const ssize_t n = read(fd, &byte, 1);
        if (n == 1) {
            return PORT_OK;
        }
        // With VMIN = VTIME = 0 an empty read after readiness is the line hanging up.
        if (n == 0) {
            err = EIO;
            return PORT_FAILED;
        }
        if (errno != EINTR && errno != EAGAIN) {
            err = errno;
            return PortStatusFromErrno(err);
        }
        // A line that keeps reporting readable with nothing to read must not hold the
        // caller past the byte's time-out.
        if (deadline.Expired()) {
            err = ETIMEDOUT;
            return PORT_FAILED;
        }
    }
}

int WriteAll(int fd, const std::string& line, int64_t timeoutMs, int& err) {
    const CDeadline deadline(timeoutMs);
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = write(fd, line.data() + done, line.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            err = errno;
            return PortStatusFromErrno(err);
        }
        if (deadline.Expired()) {
            err = ETIMEDOUT;
            return PORT_INCOMPLETE;
        }
        const Wait wait = WaitFor(fd, POLLOUT, deadline);
        if (wait != Wait::Ready) {
            return StatusOfWait(wait, PORT_INCOMPLETE, err);
        }
    }
    return PORT_OK;
}

void PauseMs(int64_t ms) {
    const timespec pause{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
    nanosleep(&pause, nullptr);
}

// Waits a bounded time for the output queue to empty. Whatever is still queued then is
// dropped, or the kernel's own close would wait up to 30 s for it on a stalled line.
void DrainOutput(int fd, int64_t timeoutMs) {
    const CDeadline deadline(timeoutMs);
    for (;;) {
        int queued = 0;
        if (ioctl(fd, TIOCOUTQ, &queued) != 0) {
            break;
        }
        if (queued == 0) {
            return;
        }
        if (deadline.Expired()) {
            break;
        }
        PauseMs(std::min(kDrainPollMs, deadline.RemainingMs()));
    }
    tcflush(fd, TCOFLUSH);
}

// 0 or errno.
int RaiseModemLines(int fd) {
    const int lines = TIOCM_DTR | TIOCM_RTS;
    if (ioctl(fd, TIOCMBIS, &lines) == 0) {
        return 0;
    }
    // Pseudo-terminals have no modem lines.
    if (errno == ENOTTY || errno == EINVAL) {
        return 0;
    }
    return errno;
}

// 0 or errno; settings the driver did not take as asked count as EINVAL.
int Configure(int fd, const termios& wanted) {
    if (tcsetattr(fd, TCSANOW, &wanted) != 0) {
        return errno;
    }
    termios applied{};
    if (tcgetattr(fd, &applied) != 0) {
        return errno;
    }
    if (!CLineSettings::Matches(wanted, applied)) {
        return EINVAL;
    }
    if (const int err = RaiseModemLines(fd); err != 0) {
        return err;
    }
    if (tcflush(fd, TCIOFLUSH) != 0) {
        return errno;
    }
    return 0;
}

}  // namespace

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort() {
    Close();
}

int CSerialPort::Open(int32_t portNumber, uint32_t rate, char parity, uint8_t dataBits,
                      uint8_t stopBits, char handshake) {
    if (IsOpen()) {
        return PORT_OK;
    }
    lastError = 0;
    lastErrorDevice.clear();
    if (portNumber <= 0) {
        return Fail(PORT_FAILED, ENOENT, {});
    }
    const CPortDirectory machineDirectory;
    const CPortDirectory& directory = portDirectory ? *portDirectory : machineDirectory;
    const std::optional<std::string> path = directory.PathFor(portNumber);
    if (!path) {
        return Fail(PORT_FAILED, ENOENT, {});
    }
    CTtyHandle device;
    if (const int err = device.Open(*path); err != 0) {
        return Fail(PortStatusFromErrno(err), err, *path);
    }
    if (const int err = device.TakeExclusive(); err != 0) {
        return Fail(PortStatusFromErrno(err), err, *path);
    }
    termios settings{};
    if (tcgetattr(device.Get(), &settings) != 0) {
        const int err = errno;
        return Fail(PortStatusFromErrno(err), err, *path);
    }
    if (handshake == 'x') {
        return PORT_BAD_HANDSHAKE;
    }
    const std::optional<speed_t> speed = CLineSettings::SpeedFor(rate);
    if (!speed) {
        return Fail(PORT_FAILED, EINVAL, *path);
    }
    // Handshake 'd' (output gated by DSR) has no termios form; CTS flow control would
    // watch another line and could stall output for good, so it runs without flow control.
    CLineSettings::Apply(settings, *speed, parity, dataBits, stopBits);
    if (const int err = Configure(device.Get(), settings); err != 0) {
        return Fail(PortStatusFromErrno(err), err, *path);
    }
    portHandle = device.Detach();
    deviceName = *path;
    baudRate = rate;
    return PORT_OK;
}

int CSerialPort::Close() {
    if (!IsOpen()) {
        return PORT_OK;
    }
    DrainOutput(portHandle, timeoutMs);
    CTtyHandle device(std::exchange(portHandle, -1), true);
    deviceName.clear();
    baudRate = 0;
    return PortStatusFromErrno(device.Close());
}

int CSerialPort::Send(const std::string& text) {
    if (!IsOpen()) {
        return PORT_NOT_OPEN;
    }
    lastLine = text + "\n";
    // A reply read after this line can only answer this line or a later one.
    if (tcflush(portHandle, TCIFLUSH) != 0) {
        const int err = errno;
        return Fail(PortStatusFromErrno(err), err, deviceName);
    }
    int err = 0;
    const int status = WriteAll(portHandle, lastLine, timeoutMs, err);
    return status == PORT_OK ? status : Fail(status, err, deviceName);
}

int CSerialPort::ReadLine(char* buffer, size_t capacity, uint16_t seconds) {
    return ReadLine(buffer, capacity, static_cast<int64_t>(seconds) * 1000, kNoLineBudget, nullptr);
}

int CSerialPort::ReadLine(char* buffer, size_t capacity, int64_t byteTimeoutMs,
                          int64_t lineBudgetMs, IWaitService* service) {
    if (!IsOpen()) {
        return PORT_NOT_OPEN;
    }
    if (buffer == nullptr || capacity == 0) {
        return PORT_FAILED;
    }
    CLineBuffer line(buffer, capacity);
    const std::optional<CDeadline> lineEnd =
        lineBudgetMs >= 0 ? std::optional<CDeadline>(lineBudgetMs) : std::nullopt;
    for (;;) {
        const CDeadline byteEnd(byteTimeoutMs);
        char byte = 0;
        int err = 0;
        const int status =
            ReadByte(portHandle, byte, lineEnd ? CDeadline::Earlier(byteEnd, *lineEnd) : byteEnd,
                     service, err);
        if (status != PORT_OK) {
            return Fail(status, err, deviceName);
        }
        if (line.Put(byte)) {
            return PORT_OK;
        }
        // Bytes that never make a line (zero bytes, a drip of noise) end the read at its
        // budget as silence would.
        if (lineEnd && lineEnd->Expired()) {
            return Fail(PORT_FAILED, ETIMEDOUT, deviceName);
        }
    }
}

int CSerialPort::Fail(int status, int err, const std::string& device) {
    lastError = err;
    lastErrorDevice = device;
    return status;
}
