#include "sim/console/console_module.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <utility>

#include "sim/console/console_replies.h"

namespace sim::console {
namespace {

constexpr std::string_view kEnd = "\r\n";
constexpr std::string_view kPrompt = "#> ";
constexpr std::string_view kLoginPrompt = "login: ";
constexpr std::string_view kPasswordPrompt = "password: ";
constexpr std::string_view kLoginIncorrect = "Login incorrect";
// A console takes lines of a sane length; the rest of a longer line is dropped.
constexpr std::size_t kMaxLine = 1024;
constexpr std::size_t kMaxLoggedBytes = 1 << 20;

// The profile names "set profile profile=" takes; "show profile" lists udp_sockets as
// udp_socket.
constexpr std::array<std::string_view, 10> kProfiles = {
    "console_management", "ia",          "modem_emulation", "realport",     "tcp_sockets",
    "tunneling",          "udp_sockets", "custom",          "local_config", "ppp"};

std::string Trimmed(const std::string& raw) {
    std::string text;
    for (char c : raw)
        if (c != '\0' && c != '\r' && c != '\n') text += c;
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(' ', at);
        if (start == std::string::npos) break;
        const std::size_t end = std::min(text.find(' ', start), text.size());
        words.push_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

bool IsAddress(const std::string& value) {
    in_addr address{};
    return inet_pton(AF_INET, value.c_str(), &address) == 1;
}

bool IsOnOff(const std::string& value) {
    return value == "on" || value == "off";
}

std::string Refusal(const std::string& echo, const std::string& message) {
    return echo + std::string(kEnd) + "error: " + message + std::string(kEnd) +
           std::string(kRefusalFootnote) + std::string(kEnd) + std::string(kEnd) + std::string(kPrompt);
}

}  // namespace

std::string_view ShownProfileName(std::string_view profile) {
    return profile == "udp_sockets" ? std::string_view("udp_socket") : profile;
}

ConsoleModule::ConsoleModule(ConsoleOptions options, platform::Clock::time_point now)
    : m_options(std::move(options)), m_started(now), m_settings(m_options.settings) {
    if (m_options.startLoggedIn && !m_options.users.empty()) {
        m_state = ConsoleState::kLoggedIn;
        m_user = m_options.users.front().name;
    }
}

void ConsoleModule::ClearLog() {
    m_lines.clear();
    m_bytes.clear();
}

std::string ConsoleModule::Receive(std::string_view bytes, platform::Clock::time_point now) {
    if (m_bytes.size() < kMaxLoggedBytes) m_bytes.append(bytes.substr(0, kMaxLoggedBytes - m_bytes.size()));
    std::string out;
    for (char c : bytes) {
        if (m_afterCr && c == '\n') {
            m_afterCr = false;
            if (!m_lines.empty()) m_lines.back() += '\n';
            continue;
        }
        m_afterCr = false;
        if (c == '\r' || c == '\n') {
            m_lines.push_back(m_line + c);
            m_afterCr = c == '\r';
            out += HandleLine(std::exchange(m_line, std::string()), now);
            continue;
        }
        if (m_line.size() < kMaxLine) m_line += c;
    }
    return out;
}

std::string ConsoleModule::Advance(platform::Clock::time_point now) {
    if (!m_due || now < *m_due) return {};
    m_due.reset();
    std::string out;
    if (m_state == ConsoleState::kBooting) {
        out = std::string(kEnd) + "TQ7 converter console" + std::string(kEnd) + std::string(kEnd) +
              std::string(kLoginPrompt);
    } else if (m_state == ConsoleState::kLoginDelay) {
        out =
            std::string(kLoginIncorrect) + std::string(kEnd) + std::string(kEnd) + std::string(kLoginPrompt);
    }
    m_state = ConsoleState::kLoginPrompt;
    return m_faults.silent ? std::string() : Garbled(std::move(out));
}

std::string ConsoleModule::HandleLine(const std::string& raw, platform::Clock::time_point now) {
    if (m_faults.silent || m_state == ConsoleState::kBooting || m_state == ConsoleState::kLoginDelay)
        return {};
    const std::string text = Trimmed(raw);
    if (const auto reply = m_faults.replies.find(text); reply != m_faults.replies.end())
        return Garbled(reply->second);
    switch (m_state) {
        case ConsoleState::kLoginPrompt:
            return Garbled(UserName(text));
        case ConsoleState::kPasswordPrompt:
            return Garbled(Password(text, now));
        default:
            return Garbled(Command(text, now));
    }
}

std::string ConsoleModule::UserName(const std::string& name) {
    const std::string echo = name + std::string(kEnd);
    if (name.empty())
        return echo + std::string(kLoginIncorrect) + std::string(kEnd) + std::string(kEnd) +
               std::string(kLoginPrompt);
    m_pendingUser = name;
    m_state = ConsoleState::kPasswordPrompt;
    return echo + std::string(kPasswordPrompt);
}

std::string ConsoleModule::Password(const std::string& password, platform::Clock::time_point now) {
    const bool known = std::any_of(
        m_options.users.begin(), m_options.users.end(),
        [&](const ConsoleUser& user) { return user.name == m_pendingUser && user.password == password; });
    if (known) {
        m_state = ConsoleState::kLoggedIn;
        m_user = std::exchange(m_pendingUser, std::string());
        return std::string(kEnd) + std::string(kEnd) + std::string(kPrompt);
    }
    m_pendingUser.clear();
    m_state = ConsoleState::kLoginPrompt;
    if (m_options.quietLoginFailure) return {};
    if (m_options.failedLoginDelay.count() > 0) {
        m_state = ConsoleState::kLoginDelay;
        m_due = now + platform::Scaled(m_options.failedLoginDelay);
        return std::string(kEnd);
    }
    return std::string(kEnd) + std::string(kLoginIncorrect) + std::string(kEnd) + std::string(kEnd) +
           std::string(kLoginPrompt);
}

std::string ConsoleModule::Command(const std::string& command, platform::Clock::time_point now) {
    const std::string echo = command + std::string(kEnd);
    if (command.empty()) return echo + std::string(kPrompt);
    if (m_faults.failingCommands.count(command) != 0)
        return echo + std::string(kEnd) + "Error: " + command + ": command failed" + std::string(kEnd) +
               std::string(kEnd) + std::string(kPrompt);
    if (command == "exit") {
        m_state = ConsoleState::kLoginPrompt;
        m_user.clear();
        return echo + std::string(kEnd) + std::string(kLoginPrompt);
    }
    if (command == "boot action=r") {
        m_state = ConsoleState::kBooting;
        m_user.clear();
        m_due = now + platform::Scaled(m_options.bootSilence);
        return echo + std::string(kEnd) + "Rebooting..." + std::string(kEnd);
    }
    if (command.rfind("set ", 0) == 0) return Set(command);
    const std::string body = Body(command, now);
    if (body.empty())
        return echo + std::string(kEnd) + "Error: unknown command" + std::string(kEnd) + std::string(kEnd) +
               std::string(kPrompt);
    return echo + body + std::string(kPrompt);
}

std::string ConsoleModule::Body(std::string_view command, platform::Clock::time_point now) const {
    if (command == "show network") return NetworkReport(m_settings);
    if (command == "show ethernet") return EthernetReport(m_settings);
    if (command == "show profile") return ProfileReport(m_settings);
    if (command == "display device") return DeviceReport(m_options.identity);
    if (command == "display uptime")
        return UptimeReport(std::chrono::duration_cast<std::chrono::seconds>(now - m_started));
    if (command == "show permissions") return PermissionsReport(m_user);
    return {};
}

// "set GROUP NAME=VALUE ...": every pair is checked before any is taken, so a refused line
// changes nothing.
std::string ConsoleModule::Set(const std::string& command) {
    const std::string echo = command + std::string(kEnd);
    const std::vector<std::string> words = Words(command);
    if (words.size() < 3) return Refusal(echo, "missing setting");
    const std::string& group = words[1];
    static const std::map<std::string, std::set<std::string>> kNames = {
        {"network", {"ip", "submask", "gateway", "static", "dhcp"}},
        {"ethernet", {"speed"}},
        {"profile", {"profile"}},
    };
    const auto names = kNames.find(group);
    if (names == kNames.end()) return Refusal(echo, "unknown group \"" + group + "\"");

    ConsoleSettings changed = m_settings;
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::size_t equals = words[i].find('=');
        const std::string name = words[i].substr(0, equals);
        const std::string value = equals == std::string::npos ? std::string() : words[i].substr(equals + 1);
        if (equals == std::string::npos || names->second.count(name) == 0)
            return Refusal(echo, "unknown setting \"" + words[i] + "\"");
        if (const auto refused = m_faults.refusedSettings.find(name);
            refused != m_faults.refusedSettings.end())
            return Refusal(echo, refused->second);
        const std::string invalid = "invalid value \"" + value + "\" for " + name;
        if (name == "ip" || name == "submask" || name == "gateway") {
            if (!IsAddress(value)) return Refusal(echo, invalid);
            (name == "ip"        ? changed.ipAddress
             : name == "submask" ? changed.submask
                                 : changed.gateway) = value;
        } else if (name == "static" || name == "dhcp") {
            if (!IsOnOff(value)) return Refusal(echo, invalid);
            changed.dhcp = (name == "dhcp") == (value == "on");
        } else if (name == "speed") {
            if (value != "auto" && value != "10" && value != "100") return Refusal(echo, invalid);
            changed.speed = value;
        } else {
            if (std::find(kProfiles.begin(), kProfiles.end(), value) == kProfiles.end())
                return Refusal(echo, invalid);
            changed.profile = value;
        }
    }
    m_settings = changed;
    return echo + std::string(kEnd) + std::string(kPrompt);
}

std::string ConsoleModule::Garbled(std::string text) const {
    if (!m_faults.garbage) return text;
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(0x80 | ((static_cast<unsigned char>(text[i]) * 37u + i * 11u) & 0x7F));
    return text;
}

}  // namespace sim::console
