#include "sim/module.h"

#include <arpa/inet.h>

#include <cstdio>

namespace sim {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<Mac> ParseMac(std::string_view text) {
    // Six pairs and five separators.
    if (text.size() != 17) return std::nullopt;
    Mac mac{};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t at = i * 3;
        if (i > 0 && text[at - 1] != ':') return std::nullopt;
        const int high = HexDigit(text[at]);
        const int low = HexDigit(text[at + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        mac[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return mac;
}

std::string MacText(const Mac& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    return text;
}

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
    const std::string copy(text);
    in_addr address{};
    if (inet_pton(AF_INET, copy.c_str(), &address) != 1) return std::nullopt;
    return address.s_addr;
}

std::string Ipv4Text(std::uint32_t address) {
    in_addr value{};
    value.s_addr = address;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &value, text, sizeof text);
    return text;
}

}  // namespace sim
