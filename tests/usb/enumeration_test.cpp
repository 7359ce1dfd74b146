#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/open_watch.h"
#include "tests/usb/usb_fixture.h"
#include "usb/device_list.h"
#include "usb/line_settings.h"

namespace {

using platform::FtdiHandle;
using platform::FtdiStatus;
using sim::console::FakeUsbSerial;

using UsbEnumerationTest = UsbLinkTest;

// Opening a serial tty moves its modem lines, which resets a board on another adapter: the list
// is built from the device tree alone, and every node is left unopened.
TEST_F(UsbEnumerationTest, ListsOnlyConvertersAndOpensNoDevice) {
    m_tree.AddPort({.ttyNumber = 0, .productId = 0x6001, .product = "Other FTDI bridge"});
    m_tree.AddPort({.ttyNumber = 1});
    testsupport::OpenWatch watch;
    for (const char* node : {"ttyUSB0", "ttyUSB1"}) watch.Watch(m_tree.DevRoot() / node);
    SetControlsEnabled(false);

    UsbEnumerate();
    UsbEnumerate();  // Refresh list

    EXPECT_EQ(watch.Opens(m_tree.DevRoot() / "ttyUSB0"), 0);
    EXPECT_EQ(watch.Opens(m_tree.DevRoot() / "ttyUSB1"), 0);
    EXPECT_EQ(DeviceEntries(), QStringList{"TQ7 Converter, COM 1"});
    EXPECT_EQ(g_cbDevice.GetCurSel(), 0);
    EXPECT_TRUE(ConnectEnabled());
    EXPECT_FALSE(DisconnectEnabled());
    EXPECT_TRUE(ConnectionFieldsEnabled());
    EXPECT_EQ(g_usbLink.errorState, kNoError);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(UsbEnumerationTest, NoConverterLeavesTheOneEntryNoDeviceConnected) {
    struct Case {
        const char* name;
        std::vector<FakeUsbSerial> devices;
    };
    const Case cases[] = {
        {"nothing attached", {}},
        {"only another FTDI product", {{.ttyNumber = 3, .productId = 0x6015, .product = "Other"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::console::FakeDeviceTree tree;
        for (const FakeUsbSerial& device : c.devices) tree.AddPort(device);
        platform::SysfsFtdiDriver driver(tree.Roots());
        platform::SetDefaultFtdiDriver(&driver);
        g_usbLink.errorState = kNoError;
        SetControlsEnabled(false);
        g_btnConnect.EnableWindow(true);

        UsbEnumerate();

        EXPECT_EQ(DeviceEntries(), QStringList{"No device connected"});
        EXPECT_EQ(g_cbDevice.GetWindowText(), "No device connected");
        EXPECT_EQ(g_usbLink.errorState, kLinkFailed);
        EXPECT_FALSE(ConnectEnabled());
        EXPECT_FALSE(DisconnectEnabled());
        EXPECT_TRUE(ConnectionFieldsEnabled());
        EXPECT_TRUE(Messages().isEmpty());  // every driver call succeeded
    }
}

// A device that cannot be opened is not found out by listing it: a converter is listed all the
// same and fails at Connect, and nothing that is not a converter can make the list report an error.
TEST_F(UsbEnumerationTest, ADeviceThatCannotBeOpenedChangesNothingInTheList) {
    struct Case {
        const char* name;
        std::function<void(sim::console::FakeDeviceTree&, platform::FtdiDriver&)> arrange;
        QStringList entries;
    };
    const Case cases[] = {
        {"a converter without a device node",
         [](sim::console::FakeDeviceTree& tree, platform::FtdiDriver&) {
             tree.AddEntry({.ttyNumber = 3, .product = "Gone"});
         },
         {"Gone, COM 3", "Good, COM 2"}},
        {"another adapter, last in the list and busy in another program",
         [](sim::console::FakeDeviceTree& tree, platform::FtdiDriver& otherProgram) {
             tree.AddPort({.ttyNumber = 3, .productId = 0x6001, .product = "Board"});
             std::uint32_t count = 0;
             ASSERT_EQ(otherProgram.BuildDeviceList(count), FtdiStatus::kOk);
             FtdiHandle held = platform::kNoFtdiHandle;
             ASSERT_EQ(otherProgram.Open(1, held), FtdiStatus::kOk);
         },
         {"Good, COM 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::console::FakeDeviceTree tree;
        tree.AddPort({.ttyNumber = 2, .product = "Good"});
        platform::SysfsFtdiDriver otherProgram(tree.Roots());
        c.arrange(tree, otherProgram);
        platform::SysfsFtdiDriver driver(tree.Roots());
        platform::SetDefaultFtdiDriver(&driver);
        g_usbLink.errorState = kNoError;
        ClearMessages();

        UsbEnumerate();

        EXPECT_EQ(DeviceEntries(), c.entries);
        EXPECT_TRUE(Messages().isEmpty());
        EXPECT_EQ(g_usbLink.errorState, kNoError);
        EXPECT_TRUE(ConnectEnabled());
    }

    // The converter without a node says so when it is chosen.
    sim::console::FakeDeviceTree tree;
    tree.AddEntry({.ttyNumber = 0});
    platform::SysfsFtdiDriver driver(tree.Roots());
    platform::SetDefaultFtdiDriver(&driver);
    ClearMessages();
    UsbEnumerate();
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_FALSE(UsbOpenSelected(g_cbDevice.GetWindowText()));
    EXPECT_EQ(Messages(), QStringList{kConnectionError});
    EXPECT_EQ(g_usbLink.errorState, kLinkFailed);
    EXPECT_FALSE(UsbIsOpen());
}

TEST_F(UsbEnumerationTest, ConvertersDifferingOnlyInTheirNumberAreListedSortedWithTheFirstSelected) {
    m_tree.AddPort({.ttyNumber = 2});
    m_tree.AddPort({.ttyNumber = 10});
    g_cbDevice.AddString("an entry of an earlier enumeration");
    g_cbDevice.SetWindowText("typed by the user");

    UsbEnumerate();

    // Alphabetical order: "COM 10" sorts before "COM 2".
    EXPECT_EQ(DeviceEntries(), (QStringList{"TQ7 Converter, COM 10", "TQ7 Converter, COM 2"}));
    EXPECT_EQ(g_cbDevice.GetCurSel(), 0);
    EXPECT_EQ(g_cbDevice.GetWindowText(), "TQ7 Converter, COM 10");
    EXPECT_TRUE(Messages().isEmpty());

    // Refresh after one is pulled out lists only the other.
    m_tree.Remove(10);
    UsbEnumerate();
    EXPECT_EQ(DeviceEntries(), QStringList{"TQ7 Converter, COM 2"});
    EXPECT_EQ(g_cbDevice.GetWindowText(), "TQ7 Converter, COM 2");
}

TEST_F(UsbEnumerationTest, TheEntryIsTheDescriptionCommaComAndTheNumber) {
    const std::string longest(63, 'd');
    m_tree.AddPort({.ttyNumber = 7, .product = "Caf\xc3\xa9 desk, left"});
    m_tree.AddPort({.ttyNumber = 8, .product = ""});
    m_tree.AddPort({.ttyNumber = 9, .product = longest + "cut"});
    UsbEnumerate();
    EXPECT_EQ(DeviceEntries(), (QStringList{", COM 8", QString::fromUtf8("Caf\xc3\xa9 desk, left, COM 7"),
                                            QString::fromStdString(longest + ", COM 9")}));
}

TEST_F(UsbEnumerationTest, LatchesTheSelectedSpeedAndFraming) {
    struct Case {
        int ratePosition;
        int modePosition;
        std::uint32_t rate, wordLength, stopBits, parity;
    };
    const Case cases[] = {
        {5, 1, 9600, 8, 0, 0},  // the lists' first selections
        {7, 0, 38400, 8, 2, 0}, {0, 2, 300, 8, 0, 2}, {9, 3, 115200, 8, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratePosition);
        g_usbLink = UsbLinkState{.baudRate = 1, .wordLength = 0, .stopBits = 9, .parity = 9};
        g_cbBaudRate.SetCurSel(c.ratePosition);
        g_cbLineMode.SetCurSel(c.modePosition);
        UsbEnumerate();
        EXPECT_EQ(g_usbLink.baudRate, c.rate);
        EXPECT_EQ(g_usbLink.wordLength, c.wordLength);
        EXPECT_EQ(g_usbLink.stopBits, c.stopBits);
        EXPECT_EQ(g_usbLink.parity, c.parity);
    }

    // A text of the user's own is no selection: the settings it controls stay as they were.
    g_cbBaudRate.SetCurSel(-1);
    g_cbBaudRate.SetWindowText("14400 bit/s");
    g_cbLineMode.SetCurSel(1);
    UsbLatchLineSettings();
    EXPECT_EQ(g_usbLink.baudRate, 115200u);
    EXPECT_EQ(g_usbLink.parity, 0u);
    g_cbBaudRate.SetCurSel(0);
    g_cbLineMode.SetCurSel(-1);
    UsbLatchLineSettings();
    EXPECT_EQ(g_usbLink.baudRate, 300u);
    EXPECT_EQ(g_usbLink.parity, 0u);
}

}  // namespace
