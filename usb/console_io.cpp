#include "usb/console_io.h"

#include "usb/link.h"

using platform::DefaultFtdiDriver;
using platform::IsOk;

bool UsbWriteLine(std::string_view bytes) {
    std::uint32_t written = 0;
    g_usbLink.lastStatus = DefaultFtdiDriver().Write(g_usbLink.handle, bytes, written);
    return IsOk(g_usbLink.lastStatus);
}

platform::FtdiStatus WriteByteByByte(platform::FtdiHandle handle, std::string_view bytes,
                                     platform::FtdiStatus& status) {
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::uint32_t written = 0;
        status = DefaultFtdiDriver().Write(handle, bytes.substr(at, 1), written);
    }
    return status;
}

bool UsbWriteCommand(std::string_view bytes) {
    return IsOk(WriteByteByByte(g_usbLink.handle, bytes, g_usbLink.lastStatus));
}

bool UsbReadReply() {
    ClearReceiveBuffer();
    return IsOk(UsbRead());
}
