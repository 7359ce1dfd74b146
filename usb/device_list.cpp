#include "usb/device_list.h"

#include <algorithm>
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

// Asks the open device for its COM port number; the result is kept like every driver result, but
// the text is built whatever it says.
std::string EntryText(FtdiHandle handle, const FtdiDeviceNode& node) {
    std::int32_t port = -1;
    g_usbLink.lastStatus = DefaultFtdiDriver().GetComPortNumber(handle, port);
    const std::string_view description(node.description.data(), node.description.size());
    return std::string(description.substr(0, description.find('\0'))) + ", COM " + std::to_string(port);
}

QString ListText(const std::string& entry) {
    return QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}

// The nodes of the last enumeration that the driver's list still has room for.
std::span<FtdiDeviceNode> ListedNodes() {
    const std::size_t count = std::min<std::size_t>(g_usbLink.deviceCount, g_usbLink.deviceNodes.size());
    return std::span(g_usbLink.deviceNodes.data(), count);
}

void ListConverters() {
    for (std::uint32_t index = 0; index < ListedNodes().size(); ++index) {
        FtdiHandle probe = platform::kNoFtdiHandle;
        g_usbLink.lastStatus = DefaultFtdiDriver().Open(index, probe);
        if (!IsOk(g_usbLink.lastStatus)) continue;
        const FtdiDeviceNode& node = g_usbLink.deviceNodes[index];
        if (node.deviceId == kConverterDeviceId) {
            g_cbDevice.AddString(ListText(EntryText(probe, node)));
            g_btnConnect.EnableWindow(true);
            g_btnDisconnect.EnableWindow(false);
            EnableConnectionFields(true);
        }
        DefaultFtdiDriver().Close(probe);
    }
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
    const QByteArray wanted = entry.toUtf8();
    g_usbLink.lastStatus = DefaultFtdiDriver().ReadDeviceList(ListedNodes(), g_usbLink.deviceCount);
    for (std::uint32_t index = 0; index < ListedNodes().size(); ++index) {
        FtdiHandle handle = platform::kNoFtdiHandle;
        g_usbLink.lastStatus = DefaultFtdiDriver().Open(index, handle);
        if (!IsOk(g_usbLink.lastStatus)) continue;
        if (EntryText(handle, g_usbLink.deviceNodes[index]) != std::string_view(wanted.data(), wanted.size())) {
            DefaultFtdiDriver().Close(handle);
            continue;
        }
        g_usbLink.handle = handle;
        g_usbLink.lastStatus = DefaultFtdiDriver().SetBaudRate(handle, g_usbLink.baudRate);
        if (IsOk(g_usbLink.lastStatus)) {
            g_usbLink.lastStatus = DefaultFtdiDriver().SetDataCharacteristics(
                handle, static_cast<std::uint8_t>(g_usbLink.wordLength), static_cast<std::uint8_t>(g_usbLink.stopBits),
                static_cast<std::uint8_t>(g_usbLink.parity));
        }
        return true;
    }
    ReportConnectionError();
    return false;
}
