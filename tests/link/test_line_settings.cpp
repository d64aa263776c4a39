#include <gtest/gtest.h>
#include <termios.h>

#include <optional>
#include <string>

#include "CLineSettings.h"

namespace {

struct RateCase {
    uint32_t rate;
    std::optional<speed_t> speed;
};

class RateTable : public testing::TestWithParam<RateCase> {};

TEST_P(RateTable, AcceptsOnlyRatesTheLineCanRun) {
    EXPECT_EQ(CLineSettings::SpeedFor(GetParam().rate), GetParam().speed) << GetParam().rate;
}

const RateCase kRates[] = {
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    // In the accepted list but without a termios speed.
    {56000, {}},
    {128000, {}},
    {256000, {}},
    // Outside the list, even where termios would have a speed.
    {300, {}},
    {0, {}},
    {1200, {}},
    {230400, {}},
    {19201, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RateTable, testing::ValuesIn(kRates));

struct FrameCase {
    const char* name;
    char parity;
    uint8_t dataBits;
    uint8_t stopBits;
    tcflag_t cflagSet;    // bits among CSIZE|PARENB|PARODD|CSTOPB expected on
    tcflag_t iflagInpck;  // INPCK or 0
};

class FrameTable : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameTable, SetsParityDataAndStopBits) {
    const FrameCase& c = GetParam();
    termios tio{};
    // Start from a cooked line with flow control and hang-up on close, as a port may be.
    tio.c_iflag = ICRNL | IXON | IXOFF | IXANY | ISTRIP;
    tio.c_oflag = OPOST | ONLCR;
    tio.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    tio.c_cflag = CS7 | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 5;
    CLineSettings::Apply(tio, B9600, c.parity, c.dataBits, c.stopBits);

    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | PARODD | CSTOPB), c.cflagSet);
    EXPECT_EQ(tio.c_iflag & INPCK, c.iflagInpck);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_cflag & (CRTSCTS | HUPCL), 0u);
    EXPECT_EQ(tio.c_iflag & (ICRNL | IXON | IXOFF | IXANY | ISTRIP), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_EQ(cfgetispeed(&tio), B9600);
}

const FrameCase kFrames[] = {
    {"EightNoneOne", 'n', 8, 1, CS8, 0},
    {"EvenParity", 'e', 8, 1, CS8 | PARENB, INPCK},
    {"OddParity", 'o', 8, 1, CS8 | PARENB | PARODD, INPCK},
    {"UpperCaseIsNoParity", 'E', 8, 1, CS8, 0},
    {"SevenBits", 'n', 7, 1, CS7, 0},
    {"AnyOtherWidthIsSeven", 'n', 5, 1, CS7, 0},
    {"TwoStopBits", 'n', 8, 2, CS8 | CSTOPB, 0},
    {"AnyOtherStopCountIsTwo", 'n', 8, 0, CS8 | CSTOPB, 0},
    {"SevenEvenTwo", 'e', 7, 2, CS7 | PARENB | CSTOPB, INPCK},
};

INSTANTIATE_TEST_SUITE_P(Cases, FrameTable, testing::ValuesIn(kFrames),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineSettingsMatch, NoticesEverySettingThatDidNotTake) {
    termios wanted{};
    CLineSettings::Apply(wanted, B19200, 'n', 8, 1);
    EXPECT_TRUE(CLineSettings::Matches(wanted, wanted));

    const auto differs = [&](auto change) {
        termios got = wanted;
        change(got);
        return !CLineSettings::Matches(wanted, got);
    };
    EXPECT_TRUE(differs([](termios& t) { t.c_cflag = (t.c_cflag & ~CSIZE) | CS7; }));
    EXPECT_TRUE(differs([](termios& t) { t.c_cflag |= PARENB; }));
    EXPECT_TRUE(differs([](termios& t) { t.c_cflag |= CSTOPB; }));
    EXPECT_TRUE(differs([](termios& t) { t.c_cflag |= CRTSCTS; }));
    EXPECT_TRUE(differs([](termios& t) { t.c_cflag &= ~CLOCAL; }));
    EXPECT_TRUE(differs([](termios& t) { t.c_iflag |= IXON; }));
    EXPECT_TRUE(differs([](termios& t) { t.c_oflag |= OPOST; }));
    EXPECT_TRUE(differs([](termios& t) { t.c_lflag |= ICANON; }));
    EXPECT_TRUE(differs([](termios& t) { t.c_cc[VMIN] = 1; }));
    EXPECT_TRUE(differs([](termios& t) { cfsetospeed(&t, B9600); }));
    EXPECT_TRUE(differs([](termios& t) { cfsetispeed(&t, B9600); }));
    // Bits the channel never sets may differ between drivers.
    EXPECT_FALSE(differs([](termios& t) { t.c_cc[VINTR] = 0; }));
    EXPECT_FALSE(differs([](termios& t) { t.c_lflag |= ECHOCTL; }));
}

}  // namespace
