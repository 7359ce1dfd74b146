#include "platform/ftdi_sysfs.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>

namespace platform::ftdi_sysfs {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDriverName = "ftdi_sio";
// sysfs attributes are at most a page; a product string is far shorter.
constexpr std::size_t kMaxAttributeBytes = 4096;
// A tty sits a few levels below its USB device; a deeper walk means a tree we do not understand.
constexpr int kMaxWalkUp = 12;

std::optional<std::string> ReadAttribute(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kMaxAttributeBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) return std::nullopt;
    text.resize(static_cast<std::size_t>(in.gcount()));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '\0'))
        text.pop_back();
    return text;
}

std::optional<std::uint16_t> ReadHexId(const fs::path& file) {
    const std::optional<std::string> text = ReadAttribute(file);
    if (!text || text->empty()) return std::nullopt;
    unsigned value = 0;
    const char* begin = text->data();
    const char* end = begin + text->size();
    const auto [stop, error] = std::from_chars(begin, end, value, 16);
    if (error != std::errc() || stop != end || value > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

bool BoundToFtdiDriver(const fs::path& ttyEntry) {
    std::error_code error;
    const fs::path driver = fs::canonical(ttyEntry / "driver", error);
    return !error && driver.filename() == kDriverName;
}

// The USB device directory above the tty: the first one holding both ID files.
std::optional<fs::path> UsbDeviceAbove(const fs::path& ttyEntry, const fs::path& root) {
    std::error_code error;
    fs::path dir = fs::canonical(ttyEntry, error);
    if (error) return std::nullopt;
    for (int level = 0; level < kMaxWalkUp; ++level) {
        if (fs::exists(dir / "idVendor", error) && fs::exists(dir / "idProduct", error)) return dir;
        if (dir == root || !dir.has_parent_path() || dir.parent_path() == dir) break;
        dir = dir.parent_path();
    }
    return std::nullopt;
}

}  // namespace

std::int32_t TtyUsbNumber(std::string_view name) {
    constexpr std::string_view kPrefix = "ttyUSB";
    if (name.size() <= kPrefix.size() || name.substr(0, kPrefix.size()) != kPrefix) return -1;
    const std::string_view digits = name.substr(kPrefix.size());
    if (digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    std::int32_t number = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number;
}

void CopyDescription(std::string_view text, std::array<char, 64>& field) {
    std::size_t length = std::min(text.size(), field.size() - 1);
    // A cut inside a UTF-8 character moves back to where the character starts. A character has at
    // most three continuation bytes; a longer run, or one without a lead byte, is no UTF-8 (a
    // Latin-1 "±" is such a byte), and cutting it by bytes splits nothing.
    if (length < text.size()) {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
        std::size_t start = length;
        while (start > 0 && length - start < 3 && (byte(start) & 0xC0) == 0x80) --start;
        const std::size_t announced = byte(start) >= 0xF0 ? 4 : byte(start) >= 0xE0 ? 3 : 2;
        if (start < length && byte(start) >= 0xC0 && announced > length - start) length = start;
    }
    field.fill('\0');
    std::copy_n(text.data(), length, field.data());
}

std::vector<FtdiTty> ScanFtdiTtys(const fs::path& sysfsRoot) {
    std::vector<FtdiTty> found;
    std::error_code error;
    const fs::path root = fs::canonical(sysfsRoot, error);
    if (error) return found;
    fs::directory_iterator entries(root / "bus" / "usb-serial" / "devices", error);
    if (error) return found;
    for (const fs::directory_iterator end; entries != end; entries.increment(error)) {
        if (error) break;
        const fs::path entry = entries->path();
        const std::int32_t number = TtyUsbNumber(entry.filename().string());
        if (number < 0 || !BoundToFtdiDriver(entry)) continue;
        const std::optional<fs::path> usbDevice = UsbDeviceAbove(entry, root);
        if (!usbDevice) continue;
        const std::optional<std::uint16_t> vendor = ReadHexId(*usbDevice / "idVendor");
        const std::optional<std::uint16_t> product = ReadHexId(*usbDevice / "idProduct");
        if (!vendor || !product) continue;
        FtdiTty tty;
        tty.number = number;
        tty.deviceId = static_cast<std::uint32_t>(*vendor) << 16 | *product;
        tty.product = ReadAttribute(*usbDevice / "product").value_or(std::string());
        found.push_back(std::move(tty));
    }
    std::sort(found.begin(), found.end(),
              [](const FtdiTty& a, const FtdiTty& b) { return a.number < b.number; });
    return found;
}

}  // namespace platform::ftdi_sysfs
