#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/usb/usb_fixture.h"
#include "usb/device_list.h"
#include "usb/line_settings.h"

namespace {

using platform::FtdiDeviceNode;
using platform::FtdiHandle;
using platform::FtdiStatus;
using sim::console::FakeUsbSerial;

// Passes every call on to the real driver and notes each open and close, with the device's index.
class RecordingDriver final : public platform::FtdiDriver {
public:
    explicit RecordingDriver(platform::FtdiDriver& real) : m_real(real) {}

    std::vector<std::string> calls;

    FtdiStatus BuildDeviceList(std::uint32_t& count) override { return m_real.BuildDeviceList(count); }
    FtdiStatus ReadDeviceList(std::span<FtdiDeviceNode> nodes, std::uint32_t& count) override {
        return m_real.ReadDeviceList(nodes, count);
    }
    FtdiStatus Open(std::uint32_t index, FtdiHandle& handle) override {
        const FtdiStatus status = m_real.Open(index, handle);
        calls.push_back("open " + std::to_string(index) + (platform::IsOk(status) ? "" : " failed"));
        if (platform::IsOk(status)) m_indexOf[handle] = index;
        return status;
    }
    FtdiStatus Close(FtdiHandle handle) override {
        calls.push_back("close " + std::to_string(m_indexOf[handle]));
        return m_real.Close(handle);
    }
    FtdiStatus Read(FtdiHandle handle, std::span<char> buffer, std::uint32_t& got) override {
        return m_real.Read(handle, buffer, got);
    }
    FtdiStatus Write(FtdiHandle handle, std::span<const char> bytes, std::uint32_t& written) override {
        return m_real.Write(handle, bytes, written);
    }
    FtdiStatus SetBaudRate(FtdiHandle handle, std::uint32_t baudRate) override {
        return m_real.SetBaudRate(handle, baudRate);
    }
    FtdiStatus SetDataCharacteristics(FtdiHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                      std::uint8_t parity) override {
        return m_real.SetDataCharacteristics(handle, wordLength, stopBits, parity);
    }
    FtdiStatus Purge(FtdiHandle handle, std::uint32_t mask) override { return m_real.Purge(handle, mask); }
    FtdiStatus SetTimeouts(FtdiHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override {
        return m_real.SetTimeouts(handle, readMs, writeMs);
    }
    FtdiStatus GetComPortNumber(FtdiHandle handle, std::int32_t& port) override {
        return m_real.GetComPortNumber(handle, port);
    }

private:
    platform::FtdiDriver& m_real;
    std::map<FtdiHandle, std::uint32_t> m_indexOf;
};

using UsbEnumerationTest = UsbLinkTest;

TEST_F(UsbEnumerationTest, OpensAndClosesEveryDeviceButListsOnlyConverters) {
    m_tree.AddPort({.ttyNumber = 0, .productId = 0x6001, .product = "Other FTDI bridge"});
    m_tree.AddPort({.ttyNumber = 1});
    RecordingDriver recorder(m_driver);
    platform::SetDefaultFtdiDriver(&recorder);
    SetControlsEnabled(false);

    UsbEnumerate();

    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"open 0", "close 0", "open 1", "close 1"}));
    EXPECT_EQ(DeviceEntries(), QStringList{"TQ7 Converter, COM 1"});
    EXPECT_EQ(g_cbDevice.GetCurSel(), 0);
    EXPECT_TRUE(ConnectEnabled());
    EXPECT_FALSE(DisconnectEnabled());
    EXPECT_TRUE(ConnectionFieldsEnabled());
    EXPECT_EQ(g_usbLink.errorState, kNoError);
    EXPECT_TRUE(Messages().isEmpty());
    // Enumeration never keeps a device: each one can be had again at once.
    for (std::uint32_t index : {0u, 1u}) {
        FtdiHandle handle = platform::kNoFtdiHandle;
        EXPECT_EQ(m_driver.Open(index, handle), FtdiStatus::kOk) << index;
        m_driver.Close(handle);
    }
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

// A converter without a device node cannot be opened. Its failed open is the last driver result
// only when it is the last device of the list, and only then is the connection error shown.
TEST_F(UsbEnumerationTest, AConverterThatCannotBeOpenedIsNotListed) {
    struct Case {
        const char* name;
        bool goneIsLast;
        QStringList entries;
        QStringList messages;
        std::int32_t errorState;
    };
    const Case cases[] = {
        {"before a good one", false, {"Good, COM 2"}, {}, kNoError},
        {"as the last device", true, {"Good, COM 2"}, {kConnectionError}, kLinkFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::console::FakeDeviceTree tree;
        tree.AddPort({.ttyNumber = 2, .product = "Good"});
        tree.AddEntry({.ttyNumber = c.goneIsLast ? 3 : 1, .product = "Gone"});
        platform::SysfsFtdiDriver driver(tree.Roots());
        platform::SetDefaultFtdiDriver(&driver);
        g_usbLink.errorState = kNoError;
        ClearMessages();
        SetControlsEnabled(false);

        UsbEnumerate();

        EXPECT_EQ(DeviceEntries(), c.entries);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(g_usbLink.errorState, c.errorState);
        EXPECT_TRUE(ConnectEnabled());  // a converter was listed
    }

    // The unopenable converter alone: no entry of its own, and the error on top.
    sim::console::FakeDeviceTree tree;
    tree.AddEntry({.ttyNumber = 0});
    platform::SysfsFtdiDriver driver(tree.Roots());
    platform::SetDefaultFtdiDriver(&driver);
    ClearMessages();
    UsbEnumerate();
    EXPECT_EQ(DeviceEntries(), QStringList{"No device connected"});
    EXPECT_EQ(Messages(), QStringList{kConnectionError});
    EXPECT_FALSE(ConnectEnabled());
    EXPECT_EQ(g_usbLink.errorState, kLinkFailed);
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
