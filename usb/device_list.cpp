#include "usb/device_list.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ftdi.h"
#include "platform/ui/table_text.h"
#include "usb/line_settings.h"
#include "usb/link.h"
#include "usb/window_controls.h"

namespace {

using platform::DefaultFtdiDriver;
using platform::FtdiDeviceNode;
using platform::FtdiHandle;
using platform::IsOk;

// Built from the device list alone: opening a serial tty moves its modem lines, which resets
// boards on other adapters, so nothing is opened to name a device.
QString EntryText(const FtdiDeviceNode& node) {
    const std::string_view description(node.description.data(), node.description.size());
    const std::string entry =
        std::string(description.substr(0, description.find('\0'))) + ", COM " + std::to_string(node.comPort);
    return QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}

bool IsConverter(const FtdiDeviceNode& node) {
    return node.deviceId == kConverterDeviceId;
}

// The nodes of the last enumeration that the driver's list still has room for.
std::span<FtdiDeviceNode> ListedNodes() {
    const std::size_t count = std::min<std::size_t>(g_usbLink.deviceCount, g_usbLink.deviceNodes.size());
    return std::span(g_usbLink.deviceNodes.data(), count);
}

void ListConverters() {
    for (const FtdiDeviceNode& node : ListedNodes()) {
        if (!IsConverter(node)) continue;
        g_cbDevice.AddString(EntryText(node));
        g_btnConnect.EnableWindow(true);
        g_btnDisconnect.EnableWindow(false);
        EnableConnectionFields(true);
    }
}

// The converter of the last enumeration listed under `entry`, if any.
std::optional<std::uint32_t> ConverterIndexOf(const QString& entry) {
    const std::span<FtdiDeviceNode> nodes = ListedNodes();
    for (std::uint32_t index = 0; index < nodes.size(); ++index)
        if (IsConverter(nodes[index]) && EntryText(nodes[index]) == entry) return index;
    return std::nullopt;
}

}  // namespace

void UsbEnumerate() {
    for (int entry = g_cbDevice.GetCount() - 1; entry >= 0; --entry) g_cbDevice.DeleteString(entry);

    g_usbLink.lastStatus = DefaultFtdiDriver().BuildDeviceList(g_usbLink.deviceCount);
    UsbLatchLineSettings();
    if (IsOk(g_usbLink.lastStatus) && g_usbLink.deviceCount != 0) {
        g_usbLink.deviceNodes.assign(g_usbLink.deviceCount, FtdiDeviceNode{});
        g_usbLink.lastStatus = DefaultFtdiDriver().ReadDeviceList(g_usbLink.deviceNodes, g_usbLink.deviceCount);
        if (IsOk(g_usbLink.lastStatus)) ListConverters();
    }

    if (g_cbDevice.GetCount() == 0) {
        g_cbDevice.AddString(platform::ui::TableText(kStringNoDevice));
        g_btnConnect.EnableWindow(false);
        g_btnDisconnect.EnableWindow(false);
        EnableConnectionFields(true);
        g_usbLink.errorState = kLinkFailed;
    }
    g_cbDevice.SetCurSel(0);

    if (!IsOk(g_usbLink.lastStatus)) ReportConnectionError();
}

bool UsbOpenSelected(const QString& entry) {
    // One device at a time: a link still open would keep its device held.
    UsbClose();
    g_usbLink.lastStatus = DefaultFtdiDriver().ReadDeviceList(ListedNodes(), g_usbLink.deviceCount);
    FtdiHandle handle = platform::kNoFtdiHandle;
    if (const auto index = ConverterIndexOf(entry))
        g_usbLink.lastStatus = DefaultFtdiDriver().Open(*index, handle);
    if (handle == platform::kNoFtdiHandle) {
        ReportConnectionError();
        return false;
    }
    g_usbLink.handle = handle;
    g_usbLink.lastStatus = DefaultFtdiDriver().SetBaudRate(handle, g_usbLink.baudRate);
    if (IsOk(g_usbLink.lastStatus)) {
        g_usbLink.lastStatus = DefaultFtdiDriver().SetDataCharacteristics(
            handle, static_cast<std::uint8_t>(g_usbLink.wordLength),
            static_cast<std::uint8_t>(g_usbLink.stopBits), static_cast<std::uint8_t>(g_usbLink.parity));
    }
    return true;
}
