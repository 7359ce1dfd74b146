#include "tools/tq7ctl/run.h"

#include <string>

#include "engine/addp.h"
#include "platform/time.h"
#include "tools/tq7ctl/commands.h"

namespace tq7ctl {
namespace {

ExitCode UsageError(std::ostream& err, std::string_view message) {
    err << "tq7ctl: " << message << '\n' << UsageText() << "Try 'tq7ctl --help' for more.\n";
    return kExitUsage;
}

}  // namespace

ExitCode Run(std::span<const std::string_view> args, const Surroundings& surroundings) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.invocation) return UsageError(surroundings.err, parsed.error);
    const Invocation& invocation = *parsed.invocation;
    if (invocation.command == Command::Help) {
        surroundings.out << HelpText();
        return kExitOk;
    }
    if (invocation.command == Command::Version) {
        surroundings.out << VersionText();
        return kExitOk;
    }

    if (surroundings.timeScale) {
        const auto scale = ParseTimeScale(*surroundings.timeScale);
        if (!scale)
            return UsageError(surroundings.err, "bad TQ7_TIME_SCALE '" +
                                                    std::string(*surroundings.timeScale) +
                                                    "': expected a number above 0");
        platform::SetTimeScale(*scale);
    }

    AddpUseLoopbackOnly(invocation.loopback);

    std::string password;
    if (NeedsPassword(invocation.command)) {
        PasswordResult read = surroundings.readPassword(invocation.passwordStdin);
        if (!read.password) return UsageError(surroundings.err, read.error);
        password = std::move(*read.password);
    }

    switch (invocation.command) {
        case Command::Discover:
            return RunDiscover(invocation, surroundings.out, surroundings.err);
        case Command::Query:
            return RunQuery(invocation, surroundings.out, surroundings.err);
        case Command::SetNetwork:
            return RunSetNetwork(invocation, password, surroundings.out, surroundings.err);
        case Command::Dhcp:
            return RunDhcp(invocation, password, surroundings.out, surroundings.err);
        case Command::Reboot:
            return RunReboot(invocation, password, surroundings.out, surroundings.err);
        case Command::Help:
        case Command::Version:
            break;
    }
    return kExitOk;
}

}  // namespace tq7ctl
