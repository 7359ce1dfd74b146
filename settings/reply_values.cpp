#include "settings/reply_values.h"

#include <algorithm>

#include "settings/bounded_text.h"
#include "settings/value_tables.h"

namespace settings {
namespace {

constexpr char kCr = '\r';

// The "set to" on the "Speed" line is followed by one more character before the speed.
constexpr std::size_t kSpeedValueOffset = 7;
// The port number's first space and the four after it pad the column before the profile.
constexpr std::size_t kProfileValueOffset = 5;

}  // namespace

std::string_view ExtractColonValue(std::string_view text, std::string_view keyword) {
    text = UpToZero(text);
    const std::size_t colon = FindFrom(text, ":", text.find(keyword));
    const std::size_t cr = FindFrom(text, {&kCr, 1}, colon);
    if (cr == kNotFound) return {};
    const std::string_view line = Between(text, colon + 1, cr);
    const std::size_t space = line.find(' ');
    if (space == kNotFound) return {};
    const std::string_view rest = line.substr(space + 1);
    return rest.substr(0, rest.find(' '));
}

std::optional<int> ParseDhcp(std::string_view text) {
    const std::string_view value = ExtractColonValue(text, "dhcp");
    const auto found = std::find_if(kDhcpReadValues.begin(), kDhcpReadValues.end(),
                                    [&](const DhcpReadValue& read) { return read.value == value; });
    if (found == kDhcpReadValues.end()) return std::nullopt;
    return found->position;
}

std::optional<int> ParseEthernetSpeed(std::string_view text) {
    text = UpToZero(text);
    const std::size_t setTo = FindFrom(text, "set to", text.find("Speed"));
    const std::size_t cr = FindFrom(text, {&kCr, 1}, setTo);
    if (cr == kNotFound) return std::nullopt;
    std::string value(Between(text, setTo + kSpeedValueOffset, cr));
    std::erase(value, ' ');
    return PositionOf(kEthernetSpeeds, &EthernetSpeedEntry::readKeyword, value);
}

std::optional<int> ParseSerialProfile(std::string_view text) {
    text = UpToZero(text);
    const std::size_t space = FindFrom(text, " ", text.find('1'));
    const std::size_t cr = FindFrom(text, {&kCr, 1}, space);
    if (cr == kNotFound) return std::nullopt;
    return PositionOf(kSerialProfiles, &SerialProfileEntry::readKeyword,
                      Between(text, space + kProfileValueOffset, cr));
}

}  // namespace settings
