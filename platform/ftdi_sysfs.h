#pragma once
// Finding the FTDI serial ttys in a sysfs tree. Used by the Linux FTDI backend only.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ftdi_sysfs {

struct FtdiTty {
    std::int32_t number = 0;     // N of ttyUSBN
    std::uint32_t deviceId = 0;  // idVendor << 16 | idProduct
    std::string product;         // the USB product string, its line end removed; may be empty
};

// The ttyUSBN entries of bus/usb-serial/devices bound to ftdi_sio, sorted by N. An entry whose
// USB device (the nearest directory above the tty with idVendor and idProduct) cannot be found or
// whose IDs do not read as 16-bit hexadecimal numbers is left out. Never throws.
std::vector<FtdiTty> ScanFtdiTtys(const std::filesystem::path& sysfsRoot);

// N of "ttyUSBN", or -1 for any other name.
std::int32_t TtyUsbNumber(std::string_view name);

// Copies at most 63 bytes of `text` and a NUL into `field`, cutting only between characters so a
// multi-byte UTF-8 character is never split.
void CopyDescription(std::string_view text, std::array<char, 64>& field);

}  // namespace platform::ftdi_sysfs
