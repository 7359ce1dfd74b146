#pragma once
// The tool from its arguments to its exit status, with its surroundings passed in so that the
// command line can be exercised without a terminal or a network.

#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>

#include "tools/tq7ctl/exit_codes.h"
#include "tools/tq7ctl/password.h"

namespace tq7ctl {

struct Surroundings {
    std::ostream& out;
    std::ostream& err;
    std::optional<std::string_view> timeScale;  // TQ7_TIME_SCALE, when set
    std::function<PasswordResult(bool fromStdin)> readPassword;
};

// `args` are the arguments after the program name.
ExitCode Run(std::span<const std::string_view> args, const Surroundings& surroundings);

}  // namespace tq7ctl
