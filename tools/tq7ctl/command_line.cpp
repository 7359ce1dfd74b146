#include "tools/tq7ctl/command_line.h"

#include <array>
#include <vector>

#include "product_version.h"

namespace tq7ctl {
namespace {

enum Option : unsigned {
    kOptionSeconds = 1,
    kOptionJson = 2,
    kOptionPasswordStdin = 4,
    kOptionWait = 8,
    kOptionVerbose = 16,
    kOptionLoopback = 32,
};

struct CommandSpec {
    std::string_view name;
    Command command;
    std::vector<std::string_view> operands;
    unsigned options;
};

const std::array<CommandSpec, 6>& Commands() {
    static const std::array<CommandSpec, 6> commands{{
        {"help", Command::Help, {}, 0},
        {"discover", Command::Discover, {}, kOptionSeconds | kOptionJson | kOptionVerbose | kOptionLoopback},
        {"query", Command::Query, {"MAC"}, kOptionJson | kOptionLoopback},
        {"set-network", Command::SetNetwork, {"MAC", "IP", "MASK", "GATEWAY"}, kOptionPasswordStdin | kOptionLoopback},
        {"dhcp", Command::Dhcp, {"MAC"}, kOptionPasswordStdin | kOptionLoopback},
        {"reboot", Command::Reboot, {"MAC"}, kOptionPasswordStdin | kOptionWait | kOptionLoopback},
    }};
    return commands;
}

ParsedCommandLine Error(std::string message) {
    return {std::nullopt, std::move(message)};
}

// Built by appending: for "'" + std::string(text), GCC 12 at -O3 reports an overlapping copy that
// cannot happen (-Wrestrict).
std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '\'').append(text).append(1, '\'');
    return quoted;
}

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

// Fills the operand named `name` from `text`; an error message when the text does not fit.
std::string TakeOperand(Invocation& invocation, std::string_view name, std::string_view text) {
    if (name == "MAC") {
        const auto mac = ParseMac(text);
        if (!mac)
            return "bad MAC address " + Quoted(text) + ": expected six hex pairs separated by ':' or '-'";
        invocation.mac = *mac;
        return {};
    }
    const auto address = ParseIpv4(text);
    const std::string_view what = name == "IP" ? "IP address" : name == "MASK" ? "subnet mask" : "gateway";
    if (!address)
        return "bad " + std::string(what) + " " + Quoted(text) +
               ": expected four decimal octets 0-255 (a.b.c.d)";
    (name == "IP"     ? invocation.ipAddress
     : name == "MASK" ? invocation.subnetMask
                      : invocation.gateway) = *address;
    return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args) {
    if (args.empty()) return Error("no command given");
    if (IsHelp(args[0])) return {Invocation{}, {}};
    if (args[0] == "--version") return {Invocation{.command = Command::Version}, {}};

    const CommandSpec* spec = nullptr;
    for (const CommandSpec& candidate : Commands())
        if (candidate.name == args[0]) spec = &candidate;
    if (spec == nullptr) return Error("unknown command " + Quoted(args[0]));

    Invocation invocation;
    invocation.command = spec->command;
    std::size_t operand = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (IsHelp(arg)) return {Invocation{}, {}};
        if (arg.starts_with("--seconds") && (spec->options & kOptionSeconds) &&
            (arg.size() == 9 || arg[9] == '=')) {
            std::string_view value;
            if (arg.size() > 9) {
                value = arg.substr(10);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return Error("--seconds needs a value");
            }
            const auto seconds = ParsePositiveInt(value);
            if (!seconds)
                return Error("bad value for --seconds " + Quoted(value) +
                             ": expected a whole number above 0");
            invocation.seconds = *seconds;
        } else if (arg == "--json" && (spec->options & kOptionJson)) {
            invocation.json = true;
        } else if (arg == "--password-stdin" && (spec->options & kOptionPasswordStdin)) {
            invocation.passwordStdin = true;
        } else if (arg == "--wait" && (spec->options & kOptionWait)) {
            invocation.wait = true;
        } else if (arg == "--verbose" && (spec->options & kOptionVerbose)) {
            invocation.verbose = true;
        } else if (arg == "--loopback" && (spec->options & kOptionLoopback)) {
            invocation.loopback = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Error("unknown option " + Quoted(arg) + " for " + std::string(spec->name));
        } else if (operand < spec->operands.size()) {
            const std::string error = TakeOperand(invocation, spec->operands[operand++], arg);
            if (!error.empty()) return Error(error);
        } else {
            return Error("unexpected argument " + Quoted(arg) + " for " + std::string(spec->name));
        }
    }
    if (operand < spec->operands.size())
        return Error(std::string(spec->name) + " needs " + std::string(spec->operands[operand]));
    return {invocation, {}};
}

bool NeedsPassword(Command command) {
    return command == Command::SetNetwork || command == Command::Dhcp || command == Command::Reboot;
}

std::string_view UsageText() {
    return "usage: tq7ctl discover [--seconds N] [--json] [--verbose] [--loopback]\n"
           "       tq7ctl query MAC [--json] [--loopback]\n"
           "       tq7ctl set-network MAC IP MASK GATEWAY [--password-stdin] [--loopback]\n"
           "       tq7ctl dhcp MAC [--password-stdin] [--loopback]\n"
           "       tq7ctl reboot MAC [--password-stdin] [--wait] [--loopback]\n"
           "       tq7ctl --help | --version\n";
}

std::string_view HelpText() {
    return "tq7ctl: find and configure TQ7 converters on the local network.\n"
           "\n"
           "Commands:\n"
           "  discover [--seconds N] [--json] [--verbose]\n"
           "      Ask every converter on the LAN to describe itself and print each answer as it\n"
           "      arrives, for N seconds (default 3). A converter that answers through two\n"
           "      interfaces is listed twice. One line per answer: IP address, MAC, name and\n"
           "      model, tab-separated; with --json one JSON object per line with every field\n"
           "      of the answer. With --verbose it first names, on standard error, each local\n"
           "      address it searches through. One run keeps at most 4096 answers; how many more\n"
           "      it dropped is said on standard error.\n"
           "  query MAC [--json]\n"
           "      Ask one converter to describe itself and print its answer as discover does.\n"
           "  set-network MAC IP MASK GATEWAY [--password-stdin]\n"
           "      Give the converter a static IP address, subnet mask and default gateway.\n"
           "  dhcp MAC [--password-stdin]\n"
           "      Tell the converter to take its network settings from DHCP.\n"
           "  reboot MAC [--password-stdin] [--wait]\n"
           "      Reboot the converter. With --wait, then ask it to describe itself until it\n"
           "      answers again (at once, then up to 40 more times, 500 ms apart) and print how\n"
           "      long that took.\n"
           "  help, --help\n"
           "      Show this text.\n"
           "  --version\n"
           "      Show the version.\n"
           "\n"
           "Requests reach the converter through the multicast group, addressed by its MAC, so\n"
           "they work whatever its IP settings. Each waits up to 7.5 seconds for the answer.\n"
           "\n"
           "Interfaces: every IPv4 address of every interface that is up and can multicast;\n"
           "loopback only when there is no other. With --loopback, this computer's loopback\n"
           "alone: that is where tq7sim serves its converters unless told otherwise.\n"
           "\n"
           "MAC is six hex pairs separated by ':' or '-' (00:40:9d:01:02:03). Addresses are\n"
           "dotted IPv4 (192.168.1.10).\n"
           "\n"
           "A converter's texts are single bytes, read as Latin-1. The lines print them in UTF-8,\n"
           "with control characters as \\xNN and the backslash doubled, so a name never breaks a\n"
           "column or a line; JSON writes each byte above 0x7e as \\u00NN.\n"
           "\n"
           "Password: set-network, dhcp and reboot carry the converter's password. It is never\n"
           "taken from the command line. With --password-stdin the first line of standard input\n"
           "is the password; otherwise it is asked for on the terminal without echo. It is read\n"
           "as UTF-8 and sent in Latin-1, the converter's own text: at most 255 characters, each\n"
           "of them Latin-1 (a password with any other character is refused, nothing is sent).\n"
           "\n"
           "Exit status:\n"
           "  0  done: the run completed, or the converter answered and accepted the request\n"
           "  1  the converter answered and refused the request (its error code and message\n"
           "     are printed)\n"
           "  2  usage error\n"
           "  3  no answer before the deadline (or, for reboot --wait, the converter did not\n"
           "     answer again); a MAC of ff:ff:ff:ff:ff:ff addresses no single converter and is\n"
           "     never sent a request\n"
           "  4  the discovery engine could not be started, or there is no local interface to\n"
           "     search through\n"
           "\n"
           "Environment:\n"
           "  TQ7_TIME_SCALE  a testing aid: a positive number by which every wait is multiplied\n"
           "                  (0.01 makes the 7.5 s deadline 75 ms, and discover's N seconds\n"
           "                  a hundredth as long). Leave it unset for real converters.\n";
}

std::string VersionText() {
    return std::string("tq7ctl ") + kProductVersion + "\n";
}

}  // namespace tq7ctl
