#pragma once
// The answers of the simulated console's report commands: the lines between the echo of the
// command and the prompt, each ended by CR LF, starting with an empty line.

#include <chrono>
#include <string>
#include <string_view>

#include "sim/console/console_module.h"

namespace sim::console {

std::string NetworkReport(const ConsoleSettings& settings);   // "show network"
std::string EthernetReport(const ConsoleSettings& settings);  // "show ethernet"
std::string ProfileReport(const ConsoleSettings& settings);   // "show profile"
std::string DeviceReport(const ConsoleIdentity& identity);    // "display device"
std::string UptimeReport(std::chrono::seconds uptime);        // "display uptime"
std::string PermissionsReport(std::string_view user);         // "show permissions"

// The second line of every refusal, so that the converter's message spans two lines.
inline constexpr std::string_view kRefusalFootnote = "Settings not changed.";

}  // namespace sim::console
