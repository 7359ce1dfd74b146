#pragma once
// The value lists of the USB configuration window and the texts each value goes by: the text
// the list shows, the keyword a converter's reply uses, the keyword a "set" command sends, and
// the text the configuration file carries. Every column is used exactly as written; where two
// columns of a row look alike but differ, the difference is what the converter or the file
// expects, not a slip.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace settings {

// A list position; kNoPosition when nothing is selected.
inline constexpr int kNoPosition = -1;

struct BaudRateEntry {
    std::string_view text;
    std::uint32_t rate;  // bit/s
};

inline constexpr std::array<BaudRateEntry, 10> kBaudRates{{
    {"300 bit/s", 300},
    {"600 bit/s", 600},
    {"1200 bit/s", 1200},
    {"2400 bit/s", 2400},
    {"4800 bit/s", 4800},
    {"9600 bit/s", 9600},
    {"19200 bit/s", 19200},
    {"38400 bit/s", 38400},
    {"57600 bit/s", 57600},
    {"115200 bit/s", 115200},
}};
inline constexpr int kDefaultBaudRatePosition = 5;

// The codes go to the FTDI driver unchanged: stop bits 0 = one, 2 = two; parity 0 none, 1 odd,
// 2 even.
struct LineModeEntry {
    std::string_view text;
    std::uint8_t wordLength;
    std::uint8_t stopBits;
    std::uint8_t parity;
};

inline constexpr std::array<LineModeEntry, 4> kLineModes{{
    {"8N2", 8, 2, 0},
    {"8N1", 8, 0, 0},
    {"8E1", 8, 0, 2},
    {"8O1", 8, 0, 1},
}};
inline constexpr int kDefaultLineModePosition = 1;

// "On" means the converter takes its address from DHCP, "Off" the three address fields.
struct DhcpEntry {
    std::string_view text;
    std::string_view dhcpSent;    // value of "set network dhcp="
    std::string_view staticSent;  // value of "set network static="
};

inline constexpr int kDhcpOn = 0;
inline constexpr int kDhcpOff = 1;
inline constexpr std::array<DhcpEntry, 2> kDhcpModes{{
    {"On", "on", "off"},
    {"Off", "off", "on"},
}};
inline constexpr int kDefaultDhcpPosition = kNoPosition;

// The dhcp values a converter's "show network" reply may carry and the position each selects.
struct DhcpReadValue {
    std::string_view value;
    int position;
};

inline constexpr std::array<DhcpReadValue, 3> kDhcpReadValues{{
    {"on", kDhcpOn},
    {"supplied", kDhcpOn},
    {"off", kDhcpOff},
}};

struct EthernetSpeedEntry {
    std::string_view text;
    std::string_view readKeyword;  // what follows "set to" in the "Speed" line, spaces removed
    std::string_view sentKeyword;  // value of "set ethernet speed="
    // What a saved file carries: the list's shown text, which for a selected position is its text.
    std::string_view fileText;
};

inline constexpr std::array<EthernetSpeedEntry, 3> kEthernetSpeeds{{
    {"auto", "auto)", "auto", "auto"},
    {"10 Mbit/s", "10)", "10", "10 Mbit/s"},
    {"100 Mbit/s", "100)", "100", "100 Mbit/s"},
}};
inline constexpr int kDefaultEthernetSpeedPosition = 0;

struct SerialProfileEntry {
    std::string_view text;
    std::string_view readKeyword;  // as the converter's "show profile" reply names it
    std::string_view sentKeyword;  // value of "set profile profile="
    std::string_view fileText;
};

inline constexpr std::array<SerialProfileEntry, 10> kSerialProfiles{{
    {"Console Management", "console_management", "console_management", "Console management"},
    {"Industrial Automation", "ia", "ia", "Industrial automation"},
    {"Modem Emulation", "modem_emulation", "modem_emulation", "Modem emulation"},
    {"RealPort", "realport", "realport", "RealPort"},
    {"TCP Sockets", "tcp_sockets", "tcp_sockets", "TCP Sockets"},
    {"Serial Brigde", "tunneling", "tunneling", "Serial Bridge"},
    {"UDP Sockets", "udp_socket", "udp_sockets", "UDP Sockets"},
    {"Custom", "custom", "custom", "Custom"},
    {"Local configuration", "local_config", "local_config", "Local configuration"},
    {"PPP Server", "ppp", "ppp", "PP Server"},
}};
inline constexpr int kDefaultSerialProfilePosition = 8;

// The entry in `column` of the row at a list position; empty when nothing (or nothing the table
// knows) is selected.
template <typename Table, typename Column>
std::string_view ColumnAt(const Table& table, Column column, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= table.size()) return {};
    return table[static_cast<std::size_t>(position)].*column;
}

// The first list position whose entry in `column` is exactly `value`; nothing when none is.
template <typename Table, typename Column>
std::optional<int> PositionOf(const Table& table, Column column, std::string_view value) {
    for (std::size_t position = 0; position < table.size(); ++position)
        if (table[position].*column == value) return static_cast<int>(position);
    return std::nullopt;
}

}  // namespace settings
