#pragma once
// A fake device tree with one bare pseudo-terminal at ttyUSB4, a driver on that tree, and the
// time scale put back after every test.

#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "platform/ftdi.h"
#include "platform/ftdi_linux.h"
#include "platform/time.h"
#include "sim/console/device_tree.h"
#include "tests/support/far_end.h"

class FtdiPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetTimeScale(0.1);
        std::uint32_t count = 0;
        ASSERT_EQ(m_driver.BuildDeviceList(count), platform::FtdiStatus::kOk);
        ASSERT_EQ(count, 1u);
    }
    void TearDown() override { platform::SetTimeScale(1.0); }

    platform::FtdiHandle OpenPort() {
        platform::FtdiHandle handle = platform::kNoFtdiHandle;
        EXPECT_EQ(m_driver.Open(0, handle), platform::FtdiStatus::kOk);
        return handle;
    }

    termios LineSettings() const {
        termios settings{};
        EXPECT_EQ(::tcgetattr(m_port.Slave(), &settings), 0);
        return settings;
    }

    speed_t Speed() const {
        const termios settings = LineSettings();
        return cfgetospeed(&settings);
    }

    // What the program wrote, as the far end reads it.
    std::string ReadFarEnd(std::size_t wanted) {
        std::string got;
        char buffer[4096];
        while (got.size() < wanted) {
            pollfd ready{m_port.Master(), POLLIN, 0};
            if (::poll(&ready, 1, 2000) <= 0) break;
            const ssize_t n = ::read(m_port.Master(), buffer, sizeof buffer);
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    void WriteFarEnd(const std::string& bytes) { testsupport::WriteFarEnd(m_port.Master(), bytes); }

    sim::console::FakeDeviceTree m_tree;
    sim::console::PseudoTerminal& m_port = m_tree.AddPort({.ttyNumber = 4});
    platform::SysfsFtdiDriver m_driver{m_tree.Roots()};
};
