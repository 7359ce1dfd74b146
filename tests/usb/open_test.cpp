#include <gtest/gtest.h>
#include <termios.h>

#include <thread>

#include "tests/support/modal.h"
#include "tests/support/open_watch.h"
#include "tests/usb/usb_fixture.h"
#include "usb/device_list.h"

namespace {

using platform::FtdiHandle;
using platform::FtdiStatus;

class UsbOpenTest : public UsbLinkTest {
protected:
    termios LineOf(const sim::console::PseudoTerminal& port) const {
        termios line{};
        EXPECT_EQ(::tcgetattr(port.Slave(), &line), 0);
        return line;
    }

    // Nobody holds the device: it opens at once.
    bool Free(std::uint32_t index) {
        FtdiHandle handle = platform::kNoFtdiHandle;
        if (!platform::IsOk(m_driver.Open(index, handle))) return false;
        m_driver.Close(handle);
        return true;
    }

    std::int32_t OpenComPort() {
        std::int32_t port = -1;
        EXPECT_EQ(m_driver.GetComPortNumber(g_usbLink.handle, port), FtdiStatus::kOk);
        return port;
    }

    sim::console::PseudoTerminal& m_port = m_tree.AddPort({.ttyNumber = 4});
};

TEST_F(UsbOpenTest, TheLineGetsTheSpeedAndFramingLatchedAtTheLastEnumeration) {
    struct Case {
        int ratePosition;
        int modePosition;
        speed_t speed;
        bool twoStopBits;
        bool odd;  // a pseudo-terminal keeps PARODD but drops PARENB
    };
    const Case cases[] = {
        {5, 1, B9600, false, false},  // the lists' first selections
        {7, 0, B38400, true, false},  // "38400 bit/s", "8N2"
        {0, 3, B300, false, true},    // "300 bit/s", "8O1"
        {9, 2, B115200, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratePosition);
        g_cbBaudRate.SetCurSel(c.ratePosition);
        g_cbLineMode.SetCurSel(c.modePosition);
        UsbEnumerate();
        ASSERT_TRUE(UsbOpenSelected(g_cbDevice.GetWindowText()));
        EXPECT_EQ(g_usbLink.lastStatus, FtdiStatus::kOk);
        const termios line = LineOf(m_port);
        EXPECT_EQ(cfgetospeed(&line), c.speed);
        EXPECT_EQ((line.c_cflag & CSIZE), static_cast<tcflag_t>(CS8));
        EXPECT_EQ((line.c_cflag & CSTOPB) != 0, c.twoStopBits);
        EXPECT_EQ((line.c_cflag & PARODD) != 0, c.odd);
        UsbClose();
    }
}

TEST_F(UsbOpenTest, AChangeOfTheListsWithoutRefreshIsNotUsed) {
    g_cbBaudRate.SetCurSel(7);  // "38400 bit/s"
    g_cbLineMode.SetCurSel(0);  // "8N2"
    UsbEnumerate();
    g_cbBaudRate.SetCurSel(2);  // "1200 bit/s"
    g_cbLineMode.SetCurSel(3);  // "8O1"

    ASSERT_TRUE(UsbOpenSelected(g_cbDevice.GetWindowText()));
    termios line = LineOf(m_port);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B38400));
    EXPECT_NE(line.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(line.c_cflag & PARODD, 0u);
    UsbClose();

    UsbEnumerate();  // Refresh list
    ASSERT_TRUE(UsbOpenSelected(g_cbDevice.GetWindowText()));
    line = LineOf(m_port);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B1200));
    EXPECT_EQ(line.c_cflag & CSTOPB, 0u);
    EXPECT_NE(line.c_cflag & PARODD, 0u);
}

TEST_F(UsbOpenTest, ATypedEntryThatMatchesNoDeviceShowsTheErrorOnceAndOpensNothing) {
    m_tree.AddPort({.ttyNumber = 5, .product = "Spare"});
    UsbEnumerate();
    ASSERT_EQ(DeviceEntries(), (QStringList{"Spare, COM 5", "TQ7 Converter, COM 4"}));
    const char* typed[] = {
        "TQ7 Converter, COM 7",   // no such number
        "tq7 converter, COM 4",   // case counts
        "TQ7 Converter, COM 4 ",  // so does every byte
        "",
    };
    for (const char* text : typed) {
        SCOPED_TRACE(text);
        ClearMessages();
        g_usbLink.errorState = kNoError;
        g_cbDevice.SetWindowText(text);
        EXPECT_FALSE(UsbOpenSelected(g_cbDevice.GetWindowText()));
        EXPECT_EQ(Messages(), QStringList{kConnectionError});
        EXPECT_EQ(g_usbLink.errorState, kLinkFailed);
        EXPECT_FALSE(UsbIsOpen());
        EXPECT_TRUE(Free(0));
        EXPECT_TRUE(Free(1));
    }
}

// The connect worker opens the link while the user-interface thread sits in its loop: the Device
// list is read through that thread.
TEST_F(UsbOpenTest, TheWorkerOpensTheEntryShownAndNoOther) {
    m_tree.AddPort({.ttyNumber = 12});
    UsbEnumerate();
    ASSERT_EQ(DeviceEntries(), (QStringList{"TQ7 Converter, COM 12", "TQ7 Converter, COM 4"}));
    g_cbDevice.SetCurSel(0);  // ttyUSB12 comes after ttyUSB4 in the driver's list
    testsupport::OpenWatch watch;
    for (const char* node : {"ttyUSB4", "ttyUSB12"}) watch.Watch(m_tree.DevRoot() / node);

    bool opened = false;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        opened = UsbOpenSelected(g_cbDevice.GetWindowText());
        done = true;
    });
    EXPECT_TRUE(testsupport::ProcessEventsUntil([&] { return done.load(); }));
    worker.join();

    ASSERT_TRUE(opened);
    EXPECT_EQ(OpenComPort(), 12);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(watch.Opens(m_tree.DevRoot() / "ttyUSB4"), 0);
    EXPECT_EQ(watch.Opens(m_tree.DevRoot() / "ttyUSB12"), 1);
    EXPECT_FALSE(Free(1));  // ttyUSB12, held by the link
}

TEST_F(UsbOpenTest, ClosingFreesTheDeviceAndOnlyOnce) {
    UsbEnumerate();
    ASSERT_TRUE(UsbOpenSelected(g_cbDevice.GetWindowText()));
    // Opening again gives up the device held before, so the same one opens again.
    ASSERT_TRUE(UsbOpenSelected(g_cbDevice.GetWindowText()));
    EXPECT_FALSE(Free(0));
    const FtdiHandle handle = g_usbLink.handle;
    UsbClose();
    EXPECT_FALSE(UsbIsOpen());
    EXPECT_TRUE(Free(0));
    UsbClose();  // not open: skipped
    std::int32_t port = 0;
    EXPECT_EQ(m_driver.GetComPortNumber(handle, port), FtdiStatus::kInvalidHandle);
}

}  // namespace
