// The simulated console on the far end of a real pseudo-terminal, reached through the Linux
// FTDI backend as the program reaches a converter.
#include "sim/console/simulated_console.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <filesystem>

#include "platform/ftdi.h"
#include "platform/ftdi_linux.h"
#include "platform/time.h"
#include "sim/console/device_tree.h"

namespace {

using namespace std::chrono_literals;
using platform::FtdiHandle;
using platform::FtdiStatus;
using sim::console::ConsoleState;
using sim::console::FakeDeviceTree;
using sim::console::SimulatedConsole;
using Clock = std::chrono::steady_clock;

class SimulatedConsoleTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetTimeScale(0.2); }
    void TearDown() override {
        if (m_handle != platform::kNoFtdiHandle) m_driver.Close(m_handle);
        platform::SetTimeScale(1.0);
    }

    void Open(std::uint32_t index = 0) {
        std::uint32_t count = 0;
        ASSERT_EQ(m_driver.BuildDeviceList(count), FtdiStatus::kOk);
        ASSERT_GT(count, index);
        ASSERT_EQ(m_driver.Open(index, m_handle), FtdiStatus::kOk);
        ASSERT_EQ(m_driver.SetBaudRate(m_handle, 9600), FtdiStatus::kOk);
        ASSERT_EQ(m_driver.SetDataCharacteristics(m_handle, 8, 0, 0), FtdiStatus::kOk);
        ASSERT_EQ(m_driver.SetTimeouts(m_handle, 1000, 1000), FtdiStatus::kOk);
        ASSERT_EQ(m_driver.Purge(m_handle, 3), FtdiStatus::kOk);
    }

    void Write(std::string_view bytes) {
        std::uint32_t written = 0;
        ASSERT_EQ(m_driver.Write(m_handle, bytes, written), FtdiStatus::kOk);
        ASSERT_EQ(written, bytes.size());
    }

    // One read as the program makes it: everything that arrives within the read time-out.
    std::string Read() {
        std::array<char, 6000> buffer{};
        std::uint32_t got = 0;
        EXPECT_EQ(m_driver.Read(m_handle, buffer, got), FtdiStatus::kOk);
        return std::string(buffer.data(), got);
    }

    // Reads until `wanted` has arrived, so a slow machine cannot split a reply between reads.
    std::string ReadUntil(std::string_view wanted, std::chrono::seconds limit = 5s) {
        std::string got;
        const auto end = Clock::now() + limit;
        while (got.find(wanted) == std::string::npos && Clock::now() < end) got += Read();
        return got;
    }

    FakeDeviceTree m_tree;
    platform::SysfsFtdiDriver m_driver{m_tree.Roots()};
    FtdiHandle m_handle = platform::kNoFtdiHandle;
};

TEST_F(SimulatedConsoleTest, IsListedAsAConverterAndAnswersALoginOverTheLine) {
    SimulatedConsole& console = m_tree.AddConsole({.ttyNumber = 3});
    Open();
    std::array<platform::FtdiDeviceNode, 1> nodes{};
    std::uint32_t count = 0;
    ASSERT_EQ(m_driver.ReadDeviceList(nodes, count), FtdiStatus::kOk);
    EXPECT_EQ(nodes[0].deviceId, 0x04036009u);
    EXPECT_STREQ(nodes[0].description.data(), "TQ7 Converter");
    std::int32_t port = 0;
    EXPECT_EQ(m_driver.GetComPortNumber(m_handle, port), FtdiStatus::kOk);
    EXPECT_EQ(port, 3);

    Write(std::string("\0\r", 2));
    EXPECT_NE(ReadUntil("login: ").find("Login incorrect"), std::string::npos);
    Write(std::string("root\0\r", 6));
    EXPECT_NE(ReadUntil("password: ").find("root\r\n"), std::string::npos);
    Write("tq7\r");
    EXPECT_NE(ReadUntil("#>").find("#>"), std::string::npos);
    EXPECT_TRUE(console.WaitForState(ConsoleState::kLoggedIn, 5s));

    for (char c : std::string("set ethernet speed=10\n")) Write(std::string_view(&c, 1));
    EXPECT_NE(ReadUntil("#> ").find("set ethernet speed=10\r\n"), std::string::npos);
    EXPECT_EQ(console.Settings().speed, "10");
    const std::vector<std::string> lines = {std::string("\0\r", 2), std::string("root\0\r", 6), "tq7\r",
                                            "set ethernet speed=10\n"};
    EXPECT_EQ(console.ReceivedLines(), lines);
}

TEST_F(SimulatedConsoleTest, ThePseudoTerminalCarriesTheLineSettingsTheProgramChose) {
    SimulatedConsole& console = m_tree.AddConsole();
    Open();
    ASSERT_EQ(m_driver.SetBaudRate(m_handle, 38400), FtdiStatus::kOk);
    ASSERT_EQ(m_driver.SetDataCharacteristics(m_handle, 8, platform::kFtdiStopBits2, 0), FtdiStatus::kOk);
    termios line{};
    ASSERT_EQ(::tcgetattr(console.SlaveFd(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B38400));
    EXPECT_NE(line.c_cflag & CSTOPB, 0u);
    // Parity is asked for and accepted although a pseudo-terminal cannot carry it.
    EXPECT_EQ(m_driver.SetDataCharacteristics(m_handle, 8, 0, platform::kFtdiParityEven), FtdiStatus::kOk);
    Write(std::string("\0\r", 2));
    EXPECT_NE(ReadUntil("login: ").find("Login incorrect"), std::string::npos);
}

TEST_F(SimulatedConsoleTest, LeftoversSentUnaskedArePurged) {
    SimulatedConsole& console = m_tree.AddConsole();
    Open();
    console.Send("stale output\r\n#> ");
    ASSERT_TRUE(console.WaitUntilAnswered(5s));  // on the line, so the purge has it to discard
    ASSERT_EQ(m_driver.Purge(m_handle, 3), FtdiStatus::kOk);
    EXPECT_EQ(Read(), "");
    console.Send("fresh");
    EXPECT_EQ(ReadUntil("fresh"), "fresh");
}

TEST_F(SimulatedConsoleTest, ASlowLineSpacesOutTheBytesOfAReply) {
    SimulatedConsole& console = m_tree.AddConsole();
    console.SetFaults({.byteDelay = 50ms});  // 10 ms at this scale
    Open();
    ASSERT_EQ(m_driver.SetTimeouts(m_handle, 100, 1000), FtdiStatus::kOk);  // 20 ms here
    const auto start = Clock::now();
    Write(std::string("\0\r", 2));
    const std::string reply = ReadUntil("login: ");
    EXPECT_EQ(reply, "\r\nLogin incorrect\r\n\r\nlogin: ");
    // A slow machine can only stretch the gaps, never close them.
    EXPECT_GE(Clock::now() - start, static_cast<int>(reply.size() - 1) * platform::Scaled(50ms));
}

TEST_F(SimulatedConsoleTest, ASilentConsoleAnswersNothingButRecordsTheLine) {
    SimulatedConsole& console = m_tree.AddConsole();
    console.SetFaults({.silent = true});
    Open();
    Write(std::string("\0\r", 2));
    ASSERT_TRUE(console.WaitForLines(1, 5s));
    EXPECT_EQ(Read(), "");
    EXPECT_EQ(console.ReceivedBytes(), std::string("\0\r", 2));
}

TEST_F(SimulatedConsoleTest, BootSilenceEndsWithTheLoginPromptOnTheScaledClock) {
    SimulatedConsole& console = m_tree.AddConsole({}, {.startLoggedIn = true, .bootSilence = 2000ms});
    Open();
    const auto start = Clock::now();
    for (char c : std::string("boot action=r\n")) Write(std::string_view(&c, 1));
    const std::string said = ReadUntil("login: ");
    EXPECT_EQ(said.find("boot action=r\r\n\r\nRebooting...\r\n"), 0u);
    EXPECT_NE(said.find("login: "), std::string::npos);
    EXPECT_GE(Clock::now() - start, 400ms);  // two seconds of silence at this scale
    EXPECT_EQ(console.State(), ConsoleState::kLoginPrompt);
}

TEST_F(SimulatedConsoleTest, UnplugTakesTheDeviceOutOfTheTreeAndHangsUpTheLine) {
    m_tree.AddConsole({.ttyNumber = 0, .product = "first"});
    SimulatedConsole& second = m_tree.AddConsole({.ttyNumber = 1, .product = "second"});
    Open(1);
    second.Unplug();
    EXPECT_TRUE(second.Unplugged());
    EXPECT_FALSE(std::filesystem::exists(m_tree.DevRoot() / "ttyUSB1"));
    EXPECT_FALSE(std::filesystem::exists(m_tree.SysfsRoot() / "bus/usb-serial/devices/ttyUSB1"));
    std::uint32_t written = 0;
    EXPECT_NE(m_driver.Write(m_handle, std::string_view("x"), written), FtdiStatus::kOk);

    std::uint32_t count = 0;
    ASSERT_EQ(m_driver.BuildDeviceList(count), FtdiStatus::kOk);
    ASSERT_EQ(count, 1u);
    std::array<platform::FtdiDeviceNode, 1> nodes{};
    ASSERT_EQ(m_driver.ReadDeviceList(nodes, count), FtdiStatus::kOk);
    EXPECT_STREQ(nodes[0].description.data(), "first");
}

}  // namespace
