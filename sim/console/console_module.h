#pragma once
// The converter's serial console as the program meets it: login with user name and password,
// the "#>" prompt, the echo of each command line, the diagnostic and "show" commands, the "set"
// commands, "boot action=r" and "exit". Pure: bytes in, bytes out, time passed in by the caller,
// so it can be driven without a line. SimulatedConsole puts it behind a pseudo-terminal.

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/time.h"

namespace sim::console {

struct ConsoleUser {
    std::string name;
    std::string password;
};

// The converter's stored settings, in the words its "set" commands take.
struct ConsoleSettings {
    std::string ipAddress = "192.168.1.50";
    std::string submask = "255.255.255.0";
    std::string gateway = "192.168.1.1";
    bool dhcp = false;
    std::string speed = "auto";           // "auto", "10" or "100"
    std::string profile = "tcp_sockets";  // as "set profile profile=" names it

    bool operator==(const ConsoleSettings&) const = default;
};

struct ConsoleIdentity {
    std::string model = "TQ7 Converter";
    std::string mac = "02:00:00:00:00:01";
    std::string firmware = "1.0 (simulated)";
};

struct ConsoleOptions {
    std::vector<ConsoleUser> users{{"root", "tq7"}};
    ConsoleSettings settings;
    ConsoleIdentity identity;
    bool startLoggedIn = false;  // as the first user, as if someone left the console logged in
    // Program time (platform/time.h) the console stays deaf and silent after "boot action=r".
    std::chrono::milliseconds bootSilence{3000};
    // Program time between a refused password and "Login incorrect"; lines meanwhile are lost.
    std::chrono::milliseconds failedLoginDelay{0};
    // A refused password gets no answer at all; the console is back at its login prompt.
    bool quietLoginFailure = false;
};

// Faults the console can be told to commit. Lines are recorded whatever the faults.
struct ConsoleFaults {
    bool silent = false;   // hears nothing, answers nothing, changes nothing
    bool garbage = false;  // every byte it sends becomes noise (0x80-0xFF, so no text survives)
    // Command lines (as typed, exact) answered with an "Error:" line and not carried out.
    std::set<std::string> failingCommands;
    // Setting names of "set" commands ("ip", "submask", "gateway", "static", "dhcp", "speed",
    // "profile") refused with an "error:" line carrying the text given here.
    std::map<std::string, std::string> refusedSettings;
    // Lines (as typed, exact) answered with exactly these bytes and nothing else, in every state
    // but booting and the failed-login pause.
    std::map<std::string, std::string> replies;
    // Program time before each byte the console sends after the first of a burst.
    std::chrono::nanoseconds byteDelay{0};
};

enum class ConsoleState {
    kLoginPrompt,
    kPasswordPrompt,
    kLoggedIn,
    kLoginDelay,  // after a refused password, before "Login incorrect"
    kBooting,
};

class ConsoleModule {
public:
    ConsoleModule(ConsoleOptions options, platform::Clock::time_point now);

    // Bytes from the line. A line ends with CR or LF; an LF right after a CR belongs to the same
    // line ending. Returns what the console sends back at once.
    std::string Receive(std::string_view bytes, platform::Clock::time_point now);

    // Carries out what has fallen due by `now` (the end of a boot or of a failed-login pause) and
    // returns what the console sends then.
    std::string Advance(platform::Clock::time_point now);
    std::optional<platform::Clock::time_point> NextDue() const { return m_due; }

    void SetFaults(ConsoleFaults faults) { m_faults = std::move(faults); }
    const ConsoleFaults& Faults() const { return m_faults; }
    void SetSettings(ConsoleSettings settings) { m_settings = std::move(settings); }
    const ConsoleSettings& Settings() const { return m_settings; }
    ConsoleState State() const { return m_state; }
    const std::string& User() const { return m_user; }  // empty while nobody is logged in

    // Every line received, in order, with its line ending (CR, LF or CR LF) and any NUL bytes.
    const std::vector<std::string>& Lines() const { return m_lines; }
    const std::string& Bytes() const { return m_bytes; }  // everything received
    void ClearLog();

private:
    std::string HandleLine(const std::string& raw, platform::Clock::time_point now);
    std::string UserName(const std::string& name);
    std::string Password(const std::string& password, platform::Clock::time_point now);
    std::string Command(const std::string& command, platform::Clock::time_point now);
    std::string Set(const std::string& command);
    std::string Body(std::string_view command, platform::Clock::time_point now) const;
    std::string Garbled(std::string text) const;

    const ConsoleOptions m_options;
    const platform::Clock::time_point m_started;
    ConsoleSettings m_settings;
    ConsoleFaults m_faults;
    ConsoleState m_state = ConsoleState::kLoginPrompt;
    std::optional<platform::Clock::time_point> m_due;
    std::string m_user;
    std::string m_pendingUser;
    std::string m_line;
    bool m_afterCr = false;
    std::vector<std::string> m_lines;
    std::string m_bytes;
};

// The profile as the console's "show profile" lists it; "set" and "show" name UDP sockets
// differently.
std::string_view ShownProfileName(std::string_view profile);

}  // namespace sim::console
