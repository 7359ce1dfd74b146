#pragma once
// The converter's password, read from standard input or asked for on the terminal; never taken
// from the command line, where other users could see it in the process list.

#include <cstddef>
#include <istream>
#include <optional>
#include <string>

namespace tq7ctl {

// The request carries the password's length in one byte.
constexpr std::size_t kMaxPasswordLength = 255;

struct PasswordResult {
    std::optional<std::string> password;
    std::string error;  // why there is none
};

// The first line of `in` without its line end ("\n" or "\r\n"); an empty line is an empty password.
// Input that ends before any byte, a password too long for the request or one holding a zero byte
// is refused.
PasswordResult ReadPasswordLine(std::istream& in);

// From standard input when `fromStdin`; otherwise asked for on the terminal without echo, and
// refused when standard input is not a terminal.
PasswordResult ReadPassword(bool fromStdin);

}  // namespace tq7ctl
