#pragma once
// The configuration file: six lines, each a key, its value and a CR, in a fixed order; no LF, no
// header, nothing escaped. Reading looks for each key after the line before it, so that a file
// with CR LF line ends reads like one with bare CRs.

#include <string>
#include <string_view>

namespace settings {

// Files are never longer than this; a longer one is read only this far.
inline constexpr std::size_t kLongestConfigFile = 1000;

// As the window shows them: the address fields' texts, the DHCP and speed lists' shown texts and
// the profile's file text.
struct ConfigFileValues {
    std::string ipAddress;
    std::string submask;
    std::string gateway;
    std::string dhcp;
    std::string speed;
    std::string profile;

    bool operator==(const ConfigFileValues&) const = default;
};

std::string ConfigFileText(const ConfigFileValues& values);

// The values in line order. A key that is missing, or whose line has no CR, yields an empty
// value, and so does every key after it. A zero byte ends the text.
ConfigFileValues ParseConfigFile(std::string_view text);

}  // namespace settings
