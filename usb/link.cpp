#include "usb/link.h"

#include <algorithm>

#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"

namespace {

constexpr int kConnectionErrorText = 9;

std::uint32_t ReadSize() {
    return std::min(g_usbLink.rxSize, kRxBufferSize);
}

}  // namespace

UsbLinkState g_usbLink;

bool UsbIsOpen() {
    return g_usbLink.handle != platform::kNoFtdiHandle;
}

void ClearReceiveBuffer() {
    std::fill_n(g_usbLink.rxBuffer.begin(), ReadSize(), '\0');
}

platform::FtdiStatus UsbRead() {
    g_usbLink.rxCount = 0;
    g_usbLink.lastStatus = platform::DefaultFtdiDriver().Read(
        g_usbLink.handle, std::span(g_usbLink.rxBuffer.data(), ReadSize()), g_usbLink.rxCount);
    return g_usbLink.lastStatus;
}

std::string_view UsbReplyText() {
    const std::string_view received(g_usbLink.rxBuffer.data(), std::min(g_usbLink.rxCount, ReadSize()));
    return received.substr(0, received.find('\0'));
}

void UsbPurge() {
    platform::DefaultFtdiDriver().Purge(g_usbLink.handle, platform::kFtdiPurgeRx | platform::kFtdiPurgeTx);
}

void UsbClose() {
    if (!UsbIsOpen()) return;
    platform::DefaultFtdiDriver().Close(g_usbLink.handle);
    g_usbLink.handle = platform::kNoFtdiHandle;
}

void ReportConnectionError() {
    platform::ui::MessageBox(platform::ui::TableText(kConnectionErrorText));
    g_usbLink.errorState = kLinkFailed;
}
