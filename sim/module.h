#pragma once
// What a simulated converter module is: its description as its discovery reply presents it, how
// it answers configuration requests, and the faults it can be told to commit.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

using Mac = std::array<std::uint8_t, 6>;

// One reply field as it goes on the wire: code, then the value (its length is the value's size).
struct ReplyField {
    std::uint8_t code = 0;
    std::vector<std::uint8_t> value;

    bool operator==(const ReplyField&) const = default;
};

// The outcome fields of a configuration reply: result flag (0 = accepted), error code, message.
struct ReplyOutcome {
    std::uint8_t resultFlag = 0;
    std::uint8_t errorCode = 0;
    std::string message;

    bool operator==(const ReplyOutcome&) const = default;
};

inline const ReplyOutcome kAccepted{0, 0, "Success"};
inline const ReplyOutcome kWrongPassword{1, 1, "Invalid password"};

enum class OutcomeMode {
    Judged,   // the module checks the password and answers kAccepted or kWrongPassword
    Forced,   // every configuration reply carries forcedOutcome, whatever the password
    Omitted,  // the module checks the password but its replies carry no outcome fields
};

struct ModuleDescription {
    Mac mac{};
    // Addresses in network order, first octet first in memory.
    std::uint32_t ipAddress = 0;
    std::uint32_t subnetMask = 0;
    std::uint32_t gateway = 0;
    std::uint32_t dnsAddress = 0;
    std::string name;
    std::string domain;
    std::uint8_t hardwareType = 0;
    std::uint8_t hardwareRevision = 0;
    std::optional<std::string> modelName;  // absent: the reply leaves the model to the hardware type
    std::string firmware;
    bool dhcpEnabled = false;
    std::uint16_t realPortPort = 0;
    std::optional<std::uint8_t> portCount;
    std::string password;

    OutcomeMode outcomeMode = OutcomeMode::Judged;
    ReplyOutcome forcedOutcome;  // used with OutcomeMode::Forced; a zero flag counts as accepted

    // Appended to every discovery reply as they are, after the fields the module always sends.
    std::vector<ReplyField> extraFields;

    bool operator==(const ModuleDescription&) const = default;
};

// Wrong behaviour on purpose. A module with no faults set answers every request for it once, at once.
struct Faults {
    bool silent = false;                     // ignores every request, changes nothing
    std::chrono::nanoseconds delay{0};       // program time before the answer goes out
    int copies = 1;                          // the answer is sent this many times
    std::optional<std::uint16_t> replyType;  // the answer's header carries this message type
    std::optional<std::uint32_t> magic;      // the answer's header carries this magic
    bool badFieldLength = false;             // the answer carries an IP address field of 3 bytes
    bool strayAhead = false;                 // a datagram that is no reply goes out before the answer
    bool payloadPastEnd = false;             // the header declares more payload than the datagram holds
    std::optional<Mac> answerAsMac;          // the answer's MAC field names this MAC instead
    // Answers only requests from this source address (network order): the engine binds each socket
    // to its interface's address, so this makes the module reachable through one interface only.
    std::optional<std::uint32_t> onlyFrom;
};

// "00:40:9d:01:02:03" (either case) into six bytes; nothing when the text is not six hex pairs.
std::optional<Mac> ParseMac(std::string_view text);
std::string MacText(const Mac& mac);

// Dotted IPv4 text into network order; nothing when it is not an address.
std::optional<std::uint32_t> ParseIpv4(std::string_view text);
std::string Ipv4Text(std::uint32_t address);

}  // namespace sim
