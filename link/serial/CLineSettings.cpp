#include "CLineSettings.h"

#include <array>
#include <utility>

namespace {

// 56000, 128000 and 256000 belong to the accepted list but have no termios constant; they
// are refused rather than rounded, since a line at a neighbouring rate would only garble.
constexpr std::array<std::pair<uint32_t, speed_t>, 7> kSpeeds{{
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
}};

constexpr tcflag_t kCflagMask =
    CSIZE | CSTOPB | PARENB | PARODD | CREAD | CLOCAL | HUPCL | CRTSCTS | CBAUD;
constexpr tcflag_t kIflagMask = IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                IXOFF | IXANY | INPCK | IGNPAR;
constexpr tcflag_t kOflagMask = OPOST;
constexpr tcflag_t kLflagMask = ECHO | ECHONL | ICANON | ISIG | IEXTEN;

}  // namespace

std::optional<speed_t> CLineSettings::SpeedFor(uint32_t baudRate) {
    for (const auto& [rate, speed] : kSpeeds) {
        if (rate == baudRate) {
            return speed;
        }
    }
    return std::nullopt;
}

void CLineSettings::Apply(termios& tio, speed_t speed, char parity, uint8_t dataBits,
                          uint8_t stopBits) {
    cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS | HUPCL);
    // Without HUPCL, closing leaves DTR and RTS up: the channel closes after every exchange,
    // and a device reset or powered by DTR must not restart each time.
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag |= dataBits == 8 ? CS8 : CS7;
    if (stopBits != 1) {
        tio.c_cflag |= CSTOPB;
    }
    if (parity == 'e' || parity == 'o') {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
        if (parity == 'o') {
            tio.c_cflag |= PARODD;
        }
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
}

bool CLineSettings::Matches(const termios& wanted, const termios& got) {
    return (wanted.c_cflag & kCflagMask) == (got.c_cflag & kCflagMask) &&
           (wanted.c_iflag & kIflagMask) == (got.c_iflag & kIflagMask) &&
           (wanted.c_oflag & kOflagMask) == (got.c_oflag & kOflagMask) &&
           (wanted.c_lflag & kLflagMask) == (got.c_lflag & kLflagMask) &&
           wanted.c_cc[VMIN] == got.c_cc[VMIN] && wanted.c_cc[VTIME] == got.c_cc[VTIME] &&
           cfgetispeed(&wanted) == cfgetispeed(&got) && cfgetospeed(&wanted) == cfgetospeed(&got);
}
