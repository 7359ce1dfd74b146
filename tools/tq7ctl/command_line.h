#pragma once
// The command line: which command, its arguments and its options, checked before anything is sent.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/tq7ctl/arguments.h"

namespace tq7ctl {

enum class Command { Help, Version, Discover, Query, SetNetwork, Dhcp, Reboot };

struct Invocation {
    Command command = Command::Help;
    int seconds = 3;
    bool json = false;
    bool passwordStdin = false;
    bool wait = false;
    bool verbose = false;
    bool loopback = false;  // send through this computer's loopback only
    Mac mac{};
    // Network order, first octet first in memory.
    std::uint32_t ipAddress = 0;
    std::uint32_t subnetMask = 0;
    std::uint32_t gateway = 0;
};

struct ParsedCommandLine {
    std::optional<Invocation> invocation;
    std::string error;  // names the bad argument when there is no invocation
};

// The arguments after the program name.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args);

bool NeedsPassword(Command command);

std::string_view HelpText();
std::string_view UsageText();
std::string VersionText();

}  // namespace tq7ctl
