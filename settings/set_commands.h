#pragma once
// The "set" command lines that write the window's settings into the converter, in the order the
// apply sends them.

#include <string>
#include <string_view>

namespace settings {

inline constexpr std::string_view kSetIpAddress = "set network ip=";
inline constexpr std::string_view kSetSubmask = "set network submask=";
inline constexpr std::string_view kSetGateway = "set network gateway=";
inline constexpr std::string_view kSetStatic = "set network static=";
inline constexpr std::string_view kSetDhcp = "set network dhcp=";
inline constexpr std::string_view kSetSpeed = "set ethernet speed=";
inline constexpr std::string_view kSetProfile = "set profile profile=";

// The prefix, the value and a line feed. An empty value becomes a lone double quote, which the
// console reads as an empty setting; the profile command alone takes nothing after its "=".
std::string SetCommandLine(std::string_view prefix, std::string_view value);

// The value a list position is sent as: the position's entry in `column` of its table, or empty
// when nothing (or nothing the table knows) is selected.
template <typename Table, typename Column>
std::string_view SentValue(const Table& table, Column column, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= table.size()) return {};
    return table[static_cast<std::size_t>(position)].*column;
}

}  // namespace settings
