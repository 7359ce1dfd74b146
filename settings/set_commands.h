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

}  // namespace settings
