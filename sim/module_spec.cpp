#include "sim/module_spec.h"

#include <charconv>
#include <functional>
#include <limits>
#include <map>
#include <vector>

namespace sim {
namespace {

constexpr const char* kDefaultModel = "Digi Connect ME";
constexpr std::uint16_t kDefaultRealPort = 771;

struct Pair {
    std::string key;
    std::string value;
    bool hasValue = false;
};

bool SplitPairs(std::string_view text, std::vector<Pair>& pairs, std::string& error) {
    Pair current;
    std::string* target = &current.key;
    const auto finish = [&] {
        if (!current.key.empty() || current.hasValue) pairs.push_back(current);
        current = {};
        target = &current.key;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (i + 1 == text.size()) {
                error = "a lone backslash ends the module description";
                return false;
            }
            *target += text[++i];
        } else if (c == ',') {
            finish();
        } else if (c == '=' && !current.hasValue) {
            current.hasValue = true;
            target = &current.value;
        } else {
            *target += c;
        }
    }
    finish();
    return true;
}

template <typename T>
bool Number(const std::string& text, T& out, long long lowest = std::numeric_limits<T>::min()) {
    long long value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > static_cast<long long>(std::numeric_limits<T>::max()))
        return false;
    out = static_cast<T>(value);
    return true;
}

bool Flag(const Pair& pair, bool& out) {
    if (!pair.hasValue || pair.value == "1") {
        out = true;
        return true;
    }
    if (pair.value == "0") {
        out = false;
        return true;
    }
    return false;
}

bool Address(const std::string& text, std::uint32_t& out) {
    const auto address = ParseIpv4(text);
    if (address) out = *address;
    return address.has_value();
}

// Four characters, as the magic reads in ASCII, or 0x and eight hex digits.
bool Magic(const std::string& text, std::uint32_t& out) {
    if (text.size() == 4) {
        out = 0;
        for (const char c : text) out = out << 8 | static_cast<std::uint8_t>(c);
        return true;
    }
    if (text.size() != 10 || text.compare(0, 2, "0x") != 0) return false;
    const auto [end, problem] = std::from_chars(text.data() + 2, text.data() + text.size(), out, 16);
    return problem == std::errc() && end == text.data() + text.size();
}

// "FLAG:CODE:MESSAGE" forces the outcome; "omit" sends configuration replies without one.
bool Outcome(const std::string& text, ModuleDescription& module) {
    if (text == "omit") {
        module.outcomeMode = OutcomeMode::Omitted;
        return true;
    }
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos) return false;
    ReplyOutcome outcome;
    if (!Number(text.substr(0, first), outcome.resultFlag) ||
        !Number(text.substr(first + 1, second - first - 1), outcome.errorCode))
        return false;
    outcome.message = text.substr(second + 1);
    module.outcomeMode = OutcomeMode::Forced;
    module.forcedOutcome = outcome;
    return true;
}

using Setter = std::function<bool(const Pair&, ModuleSpec&)>;

Setter Text(std::string ModuleDescription::*field) {
    return [field](const Pair& pair, ModuleSpec& spec) {
        spec.description.*field = pair.value;
        return pair.hasValue;
    };
}

Setter Ip(std::uint32_t ModuleDescription::*field) {
    return
        [field](const Pair& pair, ModuleSpec& spec) { return Address(pair.value, spec.description.*field); };
}

template <typename T>
Setter Integer(T ModuleDescription::*field) {
    return
        [field](const Pair& pair, ModuleSpec& spec) { return Number(pair.value, spec.description.*field); };
}

Setter FaultFlag(bool Faults::*field) {
    return [field](const Pair& pair, ModuleSpec& spec) { return Flag(pair, spec.faults.*field); };
}

const std::map<std::string, Setter, std::less<>>& Setters() {
    static const std::map<std::string, Setter, std::less<>> setters{
        {"mac",
         [](const Pair& pair, ModuleSpec& spec) {
             const auto mac = ParseMac(pair.value);
             if (mac) spec.description.mac = *mac;
             return mac.has_value();
         }},
        {"ip", Ip(&ModuleDescription::ipAddress)},
        {"mask", Ip(&ModuleDescription::subnetMask)},
        {"gateway", Ip(&ModuleDescription::gateway)},
        {"dns", Ip(&ModuleDescription::dnsAddress)},
        {"name", Text(&ModuleDescription::name)},
        {"domain", Text(&ModuleDescription::domain)},
        {"firmware", Text(&ModuleDescription::firmware)},
        {"password", Text(&ModuleDescription::password)},
        {"hwtype", Integer(&ModuleDescription::hardwareType)},
        {"hwrev", Integer(&ModuleDescription::hardwareRevision)},
        {"realport", Integer(&ModuleDescription::realPortPort)},
        {"model",
         [](const Pair& pair, ModuleSpec& spec) {
             if (pair.value.empty())
                 spec.description.modelName.reset();
             else
                 spec.description.modelName = pair.value;
             return pair.hasValue;
         }},
        {"ports",
         [](const Pair& pair, ModuleSpec& spec) {
             std::uint8_t ports = 0;
             if (!Number(pair.value, ports)) return false;
             spec.description.portCount = ports;
             return true;
         }},
        {"dhcp", [](const Pair& pair, ModuleSpec& spec) { return Flag(pair, spec.description.dhcpEnabled); }},
        {"outcome", [](const Pair& pair, ModuleSpec& spec) { return Outcome(pair.value, spec.description); }},
        {"silent", FaultFlag(&Faults::silent)},
        {"badlength", FaultFlag(&Faults::badFieldLength)},
        {"stray", FaultFlag(&Faults::strayAhead)},
        {"pastend", FaultFlag(&Faults::payloadPastEnd)},
        {"delay",
         [](const Pair& pair, ModuleSpec& spec) {
             std::uint32_t milliseconds = 0;
             if (!Number(pair.value, milliseconds)) return false;
             spec.faults.delay = std::chrono::milliseconds(milliseconds);
             return true;
         }},
        {"copies",
         [](const Pair& pair, ModuleSpec& spec) { return Number(pair.value, spec.faults.copies, 1); }},
        {"type",
         [](const Pair& pair, ModuleSpec& spec) {
             std::uint16_t type = 0;
             if (!Number(pair.value, type)) return false;
             spec.faults.replyType = type;
             return true;
         }},
        {"magic",
         [](const Pair& pair, ModuleSpec& spec) {
             std::uint32_t magic = 0;
             if (!Magic(pair.value, magic)) return false;
             spec.faults.magic = magic;
             return true;
         }},
        {"as-mac",
         [](const Pair& pair, ModuleSpec& spec) {
             spec.faults.answerAsMac = ParseMac(pair.value);
             return spec.faults.answerAsMac.has_value();
         }},
        {"only-from",
         [](const Pair& pair, ModuleSpec& spec) {
             spec.faults.onlyFrom = ParseIpv4(pair.value);
             return spec.faults.onlyFrom.has_value();
         }},
    };
    return setters;
}

}  // namespace

bool ParseModuleSpec(std::string_view text, ModuleSpec& spec, std::string& error) {
    std::vector<Pair> pairs;
    if (!SplitPairs(text, pairs, error)) return false;

    ModuleSpec parsed;
    parsed.description.subnetMask = *ParseIpv4("255.255.255.0");
    parsed.description.modelName = kDefaultModel;
    parsed.description.realPortPort = kDefaultRealPort;
    bool haveMac = false;
    bool haveIp = false;
    for (const Pair& pair : pairs) {
        const auto setter = Setters().find(pair.key);
        if (setter == Setters().end()) {
            error = "unknown key \"" + pair.key + "\"";
            return false;
        }
        if (!setter->second(pair, parsed)) {
            error = "bad value \"" + pair.value + "\" for " + pair.key;
            return false;
        }
        haveMac = haveMac || pair.key == "mac";
        haveIp = haveIp || pair.key == "ip";
    }
    if (!haveMac || !haveIp) {
        error = haveMac ? "the module needs an ip" : "the module needs a mac";
        return false;
    }
    spec = std::move(parsed);
    return true;
}

std::string ModuleSpecHelp() {
    return R"(Module keys (mac and ip are required):
  mac=XX:XX:XX:XX:XX:XX   the module's MAC address
  ip=A.B.C.D              its IP address
  mask=A.B.C.D            subnet mask (255.255.255.0)
  gateway=A.B.C.D         default gateway (0.0.0.0)
  dns=A.B.C.D             DNS server (0.0.0.0)
  name=TEXT               name (empty)
  domain=TEXT             domain (empty)
  model=TEXT              model name (Digi Connect ME); "model=" sends no model field
  firmware=TEXT           firmware revision (empty)
  hwtype=N, hwrev=N       hardware type and revision, 0 to 255 (0)
  realport=N              RealPort TCP port (771)
  ports=N                 number of serial ports; not sent unless given
  dhcp=0|1                takes its settings from DHCP (0)
  password=TEXT           password checked on every change (empty)
  outcome=FLAG:CODE:TEXT  every configuration reply carries this outcome, whatever the password
  outcome=omit            configuration replies carry no result flag, error code or message
Faults:
  silent                  never answers
  delay=MS                answers after MS milliseconds
  copies=N                sends each answer N times
  type=N                  answers with message type N
  magic=ABCD|0xHHHHHHHH   answers with another magic
  badlength               answers with an IP address field of 3 bytes
  stray                   sends a datagram that is no reply ahead of each answer
  pastend                 declares a payload longer than the answer holds
  as-mac=XX:XX:XX:XX:XX:XX  answers naming another MAC
  only-from=A.B.C.D       answers only requests from that source address
Write "\," for a comma inside a value.
)";
}

}  // namespace sim
