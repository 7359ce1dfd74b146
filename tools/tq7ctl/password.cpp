#include "tools/tq7ctl/password.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "engine/addp_password.h"

namespace tq7ctl {
namespace {

PasswordResult Refused(std::string why) {
    return {std::nullopt, std::move(why)};
}

// Restored by the signal handler too, so that an interrupted prompt does not leave the terminal
// without echo.
termios g_savedTerminal;
volatile sig_atomic_t g_echoOff = 0;

void RestoreTerminal() {
    if (g_echoOff) tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
    g_echoOff = 0;
}

void RestoreAndReraise(int signal) {
    RestoreTerminal();
    ::signal(signal, SIG_DFL);
    raise(signal);
}

PasswordResult AskOnTerminal() {
    if (tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0) return Refused("cannot read the terminal settings");
    termios quiet = g_savedTerminal;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;

    struct sigaction restore {};
    restore.sa_handler = RestoreAndReraise;
    struct sigaction oldInt {
    }, oldTerm{}, oldHup{};
    sigaction(SIGINT, &restore, &oldInt);
    sigaction(SIGTERM, &restore, &oldTerm);
    sigaction(SIGHUP, &restore, &oldHup);

    std::cerr << "Password: " << std::flush;
    g_echoOff = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    PasswordResult result = ReadPasswordLine(std::cin);
    RestoreTerminal();

    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGHUP, &oldHup, nullptr);
    return result;
}

}  // namespace

PasswordResult ReadPasswordLine(std::istream& in) {
    std::string line;
    if (!std::getline(in, line) && line.empty()) return Refused("no password: standard input ended");
    if (line.ends_with('\r')) line.pop_back();
    AddpPasswordBytes encoded = AddpEncodePassword(line);
    switch (encoded.fault) {
        case AddpPasswordFault::kNone: return {std::move(encoded.bytes), {}};
        case AddpPasswordFault::kTooLong:
            return Refused("the password is longer than the " + std::to_string(kAddpMaxPassword) +
                           " characters a request can carry");
        case AddpPasswordFault::kNotLatin1:
            return Refused("the password holds a character outside Latin-1, which the converter cannot take");
        case AddpPasswordFault::kZeroCharacter: return Refused("the password holds a zero byte");
        case AddpPasswordFault::kNotUtf8: return Refused("the password is not UTF-8 text");
    }
    return Refused("the password cannot be sent");
}

PasswordResult ReadPassword(bool fromStdin) {
    if (fromStdin) return ReadPasswordLine(std::cin);
    if (!isatty(STDIN_FILENO))
        return Refused(
            "no password: standard input is not a terminal; give --password-stdin and write the "
            "password to standard input");
    return AskOnTerminal();
}

}  // namespace tq7ctl
