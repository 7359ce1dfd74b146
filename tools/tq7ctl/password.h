#pragma once
// The converter's password, read from standard input or asked for on the terminal; never taken
// from the command line, where other users could see it in the process list.

#include <istream>
#include <optional>
#include <string>

namespace tq7ctl {

struct PasswordResult {
    std::optional<std::string> password;
    std::string error;  // why there is none
};

// The first line of `in` without its line end ("\n" or "\r\n"), taken as UTF-8 text and given as
// the bytes the request carries (see AddpEncodePassword); an empty line is an empty password.
// Input that ends before any byte, and a password the request cannot carry (too long, a character
// outside Latin-1, a zero byte, no UTF-8), are refused with the reason.
PasswordResult ReadPasswordLine(std::istream& in);

// From standard input when `fromStdin`; otherwise asked for on the terminal without echo, and
// refused when standard input is not a terminal.
PasswordResult ReadPassword(bool fromStdin);

}  // namespace tq7ctl
