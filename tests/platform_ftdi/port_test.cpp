#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <chrono>
#include <thread>

#include "platform/ftdi_termios.h"
#include "tests/platform_ftdi/ftdi_fixture.h"

namespace {

using platform::FtdiHandle;
using platform::FtdiStatus;
using Clock = std::chrono::steady_clock;

TEST_F(FtdiPortTest, OpenLeavesTheLineAloneUntilTheProgramSetsItUp) {
    termios before = LineSettings();
    cfsetspeed(&before, B1200);
    before.c_lflag |= ICANON;  // as another program might have left it
    ASSERT_EQ(::tcsetattr(m_port.Slave(), TCSANOW, &before), 0);

    const FtdiHandle handle = OpenPort();
    std::int32_t port = -1;
    EXPECT_EQ(m_driver.GetComPortNumber(handle, port), FtdiStatus::kOk);
    EXPECT_EQ(port, 4);
    EXPECT_EQ(Speed(), static_cast<speed_t>(B1200));
    EXPECT_NE(LineSettings().c_lflag & ICANON, 0u);

    // The first read makes the line raw at the driver's 9600 bit/s 8N1.
    std::array<char, 8> buffer{};
    std::uint32_t got = 1;
    EXPECT_EQ(m_driver.Read(handle, buffer, got), FtdiStatus::kOk);
    EXPECT_EQ(got, 0u);
    const termios after = LineSettings();
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B9600));
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(after.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(after.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(m_driver.Close(handle), FtdiStatus::kOk);
}

TEST_F(FtdiPortTest, EverySupportedBaudRateReachesTheLineAndOthersAreRefused) {
    const FtdiHandle handle = OpenPort();
    const std::pair<std::uint32_t, speed_t> supported[] = {
        {300, B300},   {600, B600},     {1200, B1200},   {2400, B2400},   {4800, B4800},
        {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const auto& [rate, speed] : supported) {
        EXPECT_EQ(m_driver.SetBaudRate(handle, rate), FtdiStatus::kOk) << rate;
        const termios line = LineSettings();
        EXPECT_EQ(cfgetospeed(&line), speed) << rate;
        EXPECT_EQ(cfgetispeed(&line), speed) << rate;
    }
    ASSERT_EQ(m_driver.SetBaudRate(handle, 38400), FtdiStatus::kOk);
    for (const std::uint32_t rate : {0u, 110u, 299u, 14400u, 38401u, 230400u}) {
        EXPECT_EQ(m_driver.SetBaudRate(handle, rate), FtdiStatus::kInvalidBaudRate) << rate;
        EXPECT_EQ(Speed(), static_cast<speed_t>(B38400)) << rate;
    }
}

struct Framing {
    const char* name;
    std::uint8_t stopBits;
    std::uint8_t parity;
    tcflag_t parityFlags;  // PARENB and PARODD as the line should carry them
    bool twoStopBits;
};

const Framing kFramings[] = {
    {"8N2", platform::kFtdiStopBits2, platform::kFtdiParityNone, 0, true},
    {"8N1", platform::kFtdiStopBits1, platform::kFtdiParityNone, 0, false},
    {"8E1", platform::kFtdiStopBits1, platform::kFtdiParityEven, PARENB, false},
    {"8O1", platform::kFtdiStopBits1, platform::kFtdiParityOdd, PARENB | PARODD, false},
};

TEST_F(FtdiPortTest, EachFramingReachesTheLine) {
    const FtdiHandle handle = OpenPort();
    ASSERT_EQ(m_driver.SetBaudRate(handle, 57600), FtdiStatus::kOk);
    for (const Framing& framing : kFramings) {
        SCOPED_TRACE(framing.name);
        ASSERT_EQ(m_driver.SetDataCharacteristics(handle, 8, framing.stopBits, framing.parity),
                  FtdiStatus::kOk);
        const termios line = LineSettings();
        EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ((line.c_cflag & CSTOPB) != 0, framing.twoStopBits);
        // A pseudo-terminal drops PARENB but keeps PARODD.
        EXPECT_EQ(line.c_cflag & PARODD, framing.parityFlags & PARODD);
        EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B57600));  // framing keeps the rate
        EXPECT_EQ(line.c_cflag & CRTSCTS, 0u);
    }
}

TEST(FtdiTermios, FramingsMapToTermiosFlags) {
    for (const Framing& framing : kFramings) {
        SCOPED_TRACE(framing.name);
        termios settings{};
        settings.c_cflag = CRTSCTS | CS5;
        settings.c_lflag = ICANON | ECHO;
        ASSERT_TRUE(platform::MakeRawTermios({19200, 8, framing.stopBits, framing.parity}, settings));
        EXPECT_EQ(settings.c_cflag & (PARENB | PARODD), framing.parityFlags);
        EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, framing.twoStopBits);
        EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(settings.c_cflag & (CRTSCTS | CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
        EXPECT_EQ(settings.c_lflag & (ICANON | ECHO), 0u);
        EXPECT_EQ(settings.c_cc[VMIN], 1);
        EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B19200));
    }
}

TEST(FtdiTermios, ALineIsJudgedByWhatTheDeviceCarries) {
    termios wanted{};
    ASSERT_TRUE(
        platform::MakeRawTermios({9600, 8, platform::kFtdiStopBits1, platform::kFtdiParityEven}, wanted));
    EXPECT_TRUE(platform::LineMatches(wanted, wanted, false));
    termios noParity = wanted;
    noParity.c_cflag &= ~static_cast<tcflag_t>(PARENB);
    EXPECT_FALSE(platform::LineMatches(noParity, wanted, false));
    EXPECT_TRUE(platform::LineMatches(noParity, wanted, true));  // a pseudo-terminal
    termios otherSpeed = wanted;
    cfsetspeed(&otherSpeed, B4800);
    EXPECT_FALSE(platform::LineMatches(otherSpeed, wanted, true));
    termios twoStops = wanted;
    twoStops.c_cflag |= CSTOPB;
    EXPECT_FALSE(platform::LineMatches(twoStops, wanted, true));
    termios cooked = wanted;
    cooked.c_lflag |= ICANON;
    EXPECT_FALSE(platform::LineMatches(cooked, wanted, true));
}

TEST_F(FtdiPortTest, UnsupportedFramingCodesAreRefusedAndChangeNothing) {
    const FtdiHandle handle = OpenPort();
    ASSERT_EQ(m_driver.SetDataCharacteristics(handle, 8, platform::kFtdiStopBits2, platform::kFtdiParityOdd),
              FtdiStatus::kOk);
    const struct {
        std::uint8_t word, stop, parity;
    } refused[] = {{6, 0, 0}, {9, 0, 0}, {8, 1, 0}, {8, 3, 0}, {8, 0, 3}, {8, 0, 4}, {0, 0, 0}};
    for (const auto& codes : refused) {
        EXPECT_EQ(m_driver.SetDataCharacteristics(handle, codes.word, codes.stop, codes.parity),
                  FtdiStatus::kInvalidArgument);
        EXPECT_NE(LineSettings().c_cflag & CSTOPB, 0u);
        EXPECT_NE(LineSettings().c_cflag & PARODD, 0u);
    }
}

TEST_F(FtdiPortTest, OpenIsExclusive) {
    const FtdiHandle first = OpenPort();
    FtdiHandle second = platform::kNoFtdiHandle;
    EXPECT_EQ(m_driver.Open(0, second), FtdiStatus::kDeviceBusy);
    // Another driver instance, as another process of ours would be.
    platform::SysfsFtdiDriver other(m_tree.Roots());
    std::uint32_t count = 0;
    ASSERT_EQ(other.BuildDeviceList(count), FtdiStatus::kOk);
    EXPECT_EQ(other.Open(0, second), FtdiStatus::kDeviceBusy);
    EXPECT_EQ(second, platform::kNoFtdiHandle);

    ASSERT_EQ(m_driver.Close(first), FtdiStatus::kOk);
    ASSERT_EQ(other.Open(0, second), FtdiStatus::kOk);
    EXPECT_EQ(other.Close(second), FtdiStatus::kOk);
    // Closing gave the exclusive hold back, so the line is free again for the next opener.
    EXPECT_EQ(m_driver.Close(OpenPort()), FtdiStatus::kOk);
}

TEST_F(FtdiPortTest, AForeignExclusiveHoldMakesTheDeviceBusyAndSurvivesTheAttempt) {
    const int foreign = ::open(m_port.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(foreign, 0);
    ASSERT_EQ(::ioctl(foreign, TIOCEXCL), 0);
    FtdiHandle handle = platform::kNoFtdiHandle;
    EXPECT_EQ(m_driver.Open(0, handle), FtdiStatus::kDeviceBusy);
    int held = 0;
    EXPECT_EQ(::ioctl(foreign, TIOCGEXCL, &held), 0);
    EXPECT_EQ(held, 1);
    ::ioctl(foreign, TIOCNXCL);
    ::close(foreign);
    EXPECT_EQ(m_driver.Close(OpenPort()), FtdiStatus::kOk);
}

TEST_F(FtdiPortTest, ReadReturnsWhatArrivedWhenTheTimeOutRunsOut) {
    const FtdiHandle handle = OpenPort();
    ASSERT_EQ(m_driver.SetTimeouts(handle, 1000, 1000), FtdiStatus::kOk);  // 100 ms at this scale
    ASSERT_EQ(m_driver.Purge(handle, 3), FtdiStatus::kOk);
    WriteFarEnd("hello\r\n#>");
    std::array<char, 6000> buffer{};
    std::uint32_t got = 0;
    const auto start = Clock::now();
    EXPECT_EQ(m_driver.Read(handle, buffer, got), FtdiStatus::kOk);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(std::string(buffer.data(), got), "hello\r\n#>");

    // Nothing at all is still success.
    EXPECT_EQ(m_driver.Read(handle, buffer, got), FtdiStatus::kOk);
    EXPECT_EQ(got, 0u);
}

TEST_F(FtdiPortTest, ReadReturnsAsSoonAsTheBufferIsFull) {
    const FtdiHandle handle = OpenPort();
    ASSERT_EQ(m_driver.SetTimeouts(handle, 100000, 1000), FtdiStatus::kOk);  // 10 s at this scale
    std::string sent(7000, '\0');
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>('a' + i % 26);
    std::thread farEnd([&] { WriteFarEnd(sent); });
    auto buffer = std::make_unique<char[]>(6000);  // exact size: a read past it is caught
    std::uint32_t got = 0;
    const auto start = Clock::now();
    EXPECT_EQ(m_driver.Read(handle, std::span(buffer.get(), 6000), got), FtdiStatus::kOk);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    farEnd.join();
    ASSERT_EQ(got, 6000u);
    EXPECT_EQ(std::string(buffer.get(), got), sent.substr(0, 6000));

    ASSERT_EQ(m_driver.SetTimeouts(handle, 1000, 1000), FtdiStatus::kOk);
    EXPECT_EQ(m_driver.Read(handle, std::span(buffer.get(), 6000), got), FtdiStatus::kOk);
    EXPECT_EQ(std::string(buffer.get(), got), sent.substr(6000));
}

TEST_F(FtdiPortTest, WriteDeliversEveryByteInOrder) {
    const FtdiHandle handle = OpenPort();
    ASSERT_EQ(m_driver.SetTimeouts(handle, 1000, 1000), FtdiStatus::kOk);
    const std::string line("user\0\r", 6);
    std::uint32_t written = 0;
    EXPECT_EQ(m_driver.Write(handle, line, written), FtdiStatus::kOk);
    EXPECT_EQ(written, 6u);
    for (char c : std::string("exit\n")) {
        ASSERT_EQ(m_driver.Write(handle, std::span(&c, 1), written), FtdiStatus::kOk);
        EXPECT_EQ(written, 1u);
    }
    EXPECT_EQ(ReadFarEnd(11), line + "exit\n");  // raw: no LF to CR LF, NUL kept
}

TEST_F(FtdiPortTest, PurgeDiscardsWhatWaitsToBeRead) {
    const FtdiHandle handle = OpenPort();
    ASSERT_EQ(m_driver.SetTimeouts(handle, 500, 1000), FtdiStatus::kOk);
    std::array<char, 64> buffer{};
    std::uint32_t got = 0;
    ASSERT_EQ(m_driver.Read(handle, buffer, got), FtdiStatus::kOk);  // sets the line up
    for (const std::uint32_t mask :
         {platform::kFtdiPurgeRx, platform::kFtdiPurgeRx | platform::kFtdiPurgeTx}) {
        WriteFarEnd("stale login: prompt");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(m_driver.Purge(handle, mask), FtdiStatus::kOk);
        EXPECT_EQ(m_driver.Read(handle, buffer, got), FtdiStatus::kOk);
        EXPECT_EQ(got, 0u) << "mask " << mask;
    }
    // Transmit only leaves the receive side alone.
    WriteFarEnd("kept");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(m_driver.Purge(handle, platform::kFtdiPurgeTx), FtdiStatus::kOk);
    EXPECT_EQ(m_driver.Read(handle, buffer, got), FtdiStatus::kOk);
    EXPECT_EQ(std::string(buffer.data(), got), "kept");
    EXPECT_EQ(m_driver.Purge(handle, 4), FtdiStatus::kInvalidArgument);
}

TEST_F(FtdiPortTest, ClosedStaleAndMadeUpHandlesAreRefusedEverywhere) {
    const FtdiHandle closed = OpenPort();
    ASSERT_EQ(m_driver.Close(closed), FtdiStatus::kOk);
    for (const FtdiHandle handle : {closed, platform::kNoFtdiHandle, FtdiHandle{12345}}) {
        std::array<char, 4> buffer{};
        std::uint32_t count = 9;
        std::int32_t port = -7;
        EXPECT_EQ(m_driver.Close(handle), FtdiStatus::kInvalidHandle);
        EXPECT_EQ(m_driver.Read(handle, buffer, count), FtdiStatus::kInvalidHandle);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(m_driver.Write(handle, std::span<const char>(buffer), count), FtdiStatus::kInvalidHandle);
        EXPECT_EQ(m_driver.SetBaudRate(handle, 9600), FtdiStatus::kInvalidHandle);
        EXPECT_EQ(m_driver.SetDataCharacteristics(handle, 8, 0, 0), FtdiStatus::kInvalidHandle);
        EXPECT_EQ(m_driver.Purge(handle, 3), FtdiStatus::kInvalidHandle);
        EXPECT_EQ(m_driver.SetTimeouts(handle, 1, 1), FtdiStatus::kInvalidHandle);
        EXPECT_EQ(m_driver.GetComPortNumber(handle, port), FtdiStatus::kInvalidHandle);
        EXPECT_EQ(port, -7);
    }
    // Handles are not reused: a new open never brings the closed one back to life.
    const FtdiHandle reopened = OpenPort();
    EXPECT_NE(reopened, closed);
    EXPECT_EQ(m_driver.Close(closed), FtdiStatus::kInvalidHandle);
    EXPECT_EQ(m_driver.Close(reopened), FtdiStatus::kOk);
}

TEST_F(FtdiPortTest, CloseFromAnotherThreadEndsABlockedRead) {
    const FtdiHandle handle = OpenPort();
    ASSERT_EQ(m_driver.SetTimeouts(handle, 600000, 1000), FtdiStatus::kOk);  // a minute at this scale
    FtdiStatus status = FtdiStatus::kOk;
    std::thread reader([&] {
        std::array<char, 6000> buffer{};
        std::uint32_t got = 0;
        status = m_driver.Read(handle, buffer, got);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = Clock::now();
    EXPECT_EQ(m_driver.Close(handle), FtdiStatus::kOk);
    reader.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_NE(status, FtdiStatus::kOk);
}

}  // namespace
