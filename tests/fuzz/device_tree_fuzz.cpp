// Feeds arbitrary tty names and USB product strings to the readers of the device tree and checks
// what the Device list relies on: a COM number only for a "ttyUSB" name with its own digits, and
// a description that is the product string, cut to its field between two characters. The input
// is the name, a '/' (which no file name holds), then the product file's bytes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ftdi_sysfs.h"
#include "sim/console/device_tree.h"

namespace {

namespace sysfs = platform::ftdi_sysfs;

constexpr std::string_view kTtyPrefix = "ttyUSB";
constexpr std::size_t kMostDigits = 6;
constexpr std::size_t kAttributeBytes = 4096;  // a sysfs attribute is at most a page

void Require(bool condition) {
    if (!condition) std::abort();
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// Whether the bytes before `cut` end in a UTF-8 character that goes on after it.
bool SplitsACharacter(std::string_view text, std::size_t cut) {
    for (std::size_t start = cut; start > 0 && cut - start < 3;) {
        const auto byte = static_cast<unsigned char>(text[--start]);
        if (!IsContinuationByte(text[start])) {
            const std::size_t length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc0 ? 2 : 1;
            return length > cut - start && IsContinuationByte(text[cut]);
        }
    }
    return false;
}

void CheckTtyName(std::string_view name) {
    const std::int32_t number = sysfs::TtyUsbNumber(name);
    const std::string_view digits = name.starts_with(kTtyPrefix) ? name.substr(kTtyPrefix.size()) : "";
    const bool wellFormed = !digits.empty() && digits.size() <= kMostDigits &&
                            digits.find_first_not_of("0123456789") == std::string_view::npos;
    Require(wellFormed ? number == std::stoi(std::string(digits)) : number == -1);
}

void CheckDescription(std::string_view product) {
    std::array<char, 64> field;
    sysfs::CopyDescription(product, field);
    Require(field.back() == '\0');
    // A NUL is copied like any other byte; the same text with spaces for its NULs shows where the
    // cut fell.
    std::string visible(product);
    std::replace(visible.begin(), visible.end(), '\0', ' ');
    std::array<char, 64> probe;
    sysfs::CopyDescription(visible, probe);
    const std::size_t cut = std::string_view(probe.data()).size();
    Require(std::string_view(field.data(), cut) == product.substr(0, cut));
    Require(std::all_of(field.begin() + static_cast<std::ptrdiff_t>(cut), field.end(),
                        [](char c) { return c == '\0'; }));
    if (product.size() < field.size()) {
        Require(cut == product.size());
    } else {
        Require(cut + 3 >= field.size() - 1);  // at most the start of one character is left out
        Require(!SplitsACharacter(product, cut));
    }
}

void CheckProductFile(std::string_view file) {
    // One converter whose product file the input replaces; the tree puts its first device there.
    static sim::console::FakeDeviceTree tree;
    static const bool added = (tree.AddEntry({.ttyNumber = 0}), true);
    Require(added);
    {
        std::ofstream out(tree.SysfsRoot() / "devices/usb1/1-1/product", std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
        Require(out.good());
    }
    const std::vector<sysfs::FtdiTty> ttys = sysfs::ScanFtdiTtys(tree.SysfsRoot());
    Require(ttys.size() == 1 && ttys[0].number == 0 && ttys[0].deviceId == 0x04036009u);
    // The file's text without the line end sysfs puts after it.
    std::string_view expected = file.substr(0, kAttributeBytes);
    while (!expected.empty() && std::string_view("\n\r\0", 3).find(expected.back()) != std::string_view::npos)
        expected.remove_suffix(1);
    Require(ttys[0].product == expected);
    CheckDescription(ttys[0].product);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy: a read past the input is a read past the allocation.
    const std::vector<char> bytes(data, data + size);
    const std::string_view input(bytes.data(), bytes.size());
    const std::size_t slash = input.find('/');
    CheckTtyName(input.substr(0, slash));
    CheckProductFile(slash == std::string_view::npos ? std::string_view() : input.substr(slash + 1));
    return 0;
}
