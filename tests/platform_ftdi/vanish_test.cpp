// A converter pulled out while the program talks to it: every call fails with a status, none
// hangs or crashes, and the device leaves the list.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/ftdi.h"
#include "platform/ftdi_linux.h"
#include "platform/time.h"
#include "sim/console/device_tree.h"

namespace {

using platform::FtdiHandle;
using platform::FtdiStatus;
using Clock = std::chrono::steady_clock;

class FtdiVanishTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetTimeScale(0.1); }
    void TearDown() override { platform::SetTimeScale(1.0); }

    FtdiHandle OpenFirst() {
        std::uint32_t count = 0;
        EXPECT_EQ(m_driver.BuildDeviceList(count), FtdiStatus::kOk);
        EXPECT_EQ(count, 1u);
        FtdiHandle handle = platform::kNoFtdiHandle;
        EXPECT_EQ(m_driver.Open(0, handle), FtdiStatus::kOk);
        EXPECT_EQ(m_driver.SetTimeouts(handle, 600000, 600000), FtdiStatus::kOk);  // a minute here
        return handle;
    }

    // After the device is gone, nothing on the handle works, yet closing it is clean.
    void ExpectEverythingFails(FtdiHandle handle) {
        std::array<char, 16> buffer{};
        std::uint32_t count = 0;
        EXPECT_NE(m_driver.Write(handle, std::span<const char>("x", 1), count), FtdiStatus::kOk);
        EXPECT_NE(m_driver.Read(handle, buffer, count), FtdiStatus::kOk);
        EXPECT_NE(m_driver.SetBaudRate(handle, 9600), FtdiStatus::kOk);
        EXPECT_NE(m_driver.Purge(handle, 3), FtdiStatus::kOk);
        EXPECT_EQ(m_driver.Close(handle), FtdiStatus::kOk);

        std::uint32_t listed = 9;
        EXPECT_EQ(m_driver.BuildDeviceList(listed), FtdiStatus::kOk);
        EXPECT_EQ(listed, 0u);
        FtdiHandle again = platform::kNoFtdiHandle;
        EXPECT_NE(m_driver.Open(0, again), FtdiStatus::kOk);
    }

    sim::console::FakeDeviceTree m_tree;
    platform::SysfsFtdiDriver m_driver{m_tree.Roots()};
};

TEST_F(FtdiVanishTest, UnplugDuringAReadFailsTheReadAtOnce) {
    sim::console::SimulatedConsole& console = m_tree.AddConsole();
    const FtdiHandle handle = OpenFirst();
    std::array<char, 6000> buffer{};
    std::uint32_t got = 0;
    ASSERT_EQ(m_driver.Write(handle, std::span<const char>("\0\r", 2), got), FtdiStatus::kOk);
    std::thread unplug([&] {
        console.WaitForLines(1, std::chrono::seconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        console.Unplug();
    });
    const auto start = Clock::now();
    const FtdiStatus status = m_driver.Read(handle, buffer, got);
    unplug.join();
    EXPECT_NE(status, FtdiStatus::kOk);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(std::filesystem::exists(m_tree.DevRoot() / "ttyUSB0"));
    ExpectEverythingFails(handle);
}

TEST_F(FtdiVanishTest, UnplugDuringAWriteFailsTheWrite) {
    // Nobody reads the far end, so a large write blocks until the line goes.
    sim::console::PseudoTerminal& port = m_tree.AddPort({});
    const FtdiHandle handle = OpenFirst();
    const std::string large(1 << 20, 'x');
    std::thread unplug([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        port.Close();
        m_tree.Remove(0);
    });
    std::uint32_t written = 0;
    const auto start = Clock::now();
    const FtdiStatus status = m_driver.Write(handle, large, written);
    unplug.join();
    EXPECT_NE(status, FtdiStatus::kOk);
    EXPECT_LT(written, large.size());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    ExpectEverythingFails(handle);
}

TEST_F(FtdiVanishTest, AWriteNobodyTakesEndsWithTheWriteTimeOut) {
    m_tree.AddPort({});
    const FtdiHandle handle = OpenFirst();
    ASSERT_EQ(m_driver.SetTimeouts(handle, 1000, 1000), FtdiStatus::kOk);  // 100 ms here
    const std::string large(1 << 20, 'x');
    std::uint32_t written = 0;
    EXPECT_EQ(m_driver.Write(handle, large, written), FtdiStatus::kWriteTimedOut);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, large.size());
    EXPECT_EQ(m_driver.Close(handle), FtdiStatus::kOk);
}

TEST_F(FtdiVanishTest, UnplugBetweenCallsFailsTheNextCall) {
    sim::console::SimulatedConsole& console = m_tree.AddConsole();
    const FtdiHandle handle = OpenFirst();
    ASSERT_EQ(m_driver.SetBaudRate(handle, 9600), FtdiStatus::kOk);
    console.Unplug();
    console.Unplug();  // twice is harmless
    ExpectEverythingFails(handle);
}

}  // namespace
