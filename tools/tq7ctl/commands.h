#pragma once
// The commands that talk to converters. Each opens an engine instance of its own, closes it before
// returning, and returns the exit status.

#include <ostream>
#include <string>

#include "tools/tq7ctl/command_line.h"
#include "tools/tq7ctl/exit_codes.h"

namespace tq7ctl {

// The message the discovery run posts when records are waiting.
inline constexpr unsigned kDiscoveryMessage = 0x8000 + 2;

ExitCode RunDiscover(const Invocation& invocation, std::ostream& out, std::ostream& err);
ExitCode RunQuery(const Invocation& invocation, std::ostream& out, std::ostream& err);
ExitCode RunSetNetwork(const Invocation& invocation, const std::string& password, std::ostream& out,
                       std::ostream& err);
ExitCode RunDhcp(const Invocation& invocation, const std::string& password, std::ostream& out,
                 std::ostream& err);
ExitCode RunReboot(const Invocation& invocation, const std::string& password, std::ostream& out,
                   std::ostream& err);

}  // namespace tq7ctl
