#include "sim/console/console_replies.h"

#include <cstdio>

namespace sim::console {
namespace {

constexpr std::string_view kEnd = "\r\n";

std::string Line(std::string_view text) {
    return std::string(text) + std::string(kEnd);
}

// "    name : value" with the names right-aligned, as the console lays out its reports.
std::string Field(std::string_view name, std::string_view value) {
    std::string line(name.size() < 13 ? 13 - name.size() : 0, ' ');
    line += name;
    line += " : ";
    line += value;
    return Line(line);
}

std::string_view SpeedShown(std::string_view speed) {
    return speed == "10" ? "10 Mbit/s" : "100 Mbit/s";
}

}  // namespace

// The reader takes the first "ipaddress", "submask", "gateway" and "dhcp" it meets, so the
// report names each once, and the value ends at the first space after "name : ".
std::string NetworkReport(const ConsoleSettings& settings) {
    return Line("") + Line("Network configuration") + Line("") + Field("ipaddress", settings.ipAddress) +
           Field("submask", settings.submask) + Field("gateway", settings.gateway) +
           Field("dhcp", settings.dhcp ? "on" : "off") + Line("");
}

// "Speed", then what it runs at, then "(set to " and the configured speed with a closing ")".
std::string EthernetReport(const ConsoleSettings& settings) {
    return Line("") + Line("Ethernet interface") + Line("") + Field("Link", "up") +
           Field("Speed", std::string(SpeedShown(settings.speed)) + " (set to " + settings.speed + ")") +
           Field("Duplex", "full (set to auto)") + Line("");
}

// The port number "1", five spaces, the profile. Nothing before it holds the digit 1, which
// the reader looks for first.
std::string ProfileReport(const ConsoleSettings& settings) {
    return Line("") + Line("Port  Profile") + Line("----  ------------------") +
           Line("1     " + std::string(ShownProfileName(settings.profile))) + Line("");
}

std::string DeviceReport(const ConsoleIdentity& identity) {
    return Line("") + Line("Device information") + Line("") + Field("Model", identity.model) +
           Field("MAC address", identity.mac) + Field("Firmware", identity.firmware) + Line("");
}

std::string UptimeReport(std::chrono::seconds uptime) {
    const long long total = uptime.count();
    char text[64];
    std::snprintf(text, sizeof text, "%lld days, %02lld:%02lld:%02lld", total / 86400, total / 3600 % 24,
                  total / 60 % 60, total % 60);
    return Line("") + Field("Uptime", text) + Line("");
}

std::string PermissionsReport(std::string_view user) {
    return Line("") + Line("Permissions of user " + std::string(user)) + Line("") +
           Field("network", "read-write") + Field("ethernet", "read-write") + Field("profile", "read-write") +
           Field("boot", "execute") + Line("");
}

}  // namespace sim::console
