#include "tools/tq7ctl/arguments.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace tq7ctl {
namespace {

std::optional<std::uint8_t> HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    return std::nullopt;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::optional<Mac> ParseMac(std::string_view text) {
    if (text.size() != 17) return std::nullopt;
    const char separator = text[2];
    if (separator != ':' && separator != '-') return std::nullopt;
    Mac mac{};
    for (std::size_t i = 0; i < mac.size(); ++i) {
        const std::size_t at = i * 3;
        if (i > 0 && text[at - 1] != separator) return std::nullopt;
        const auto high = HexDigit(text[at]);
        const auto low = HexDigit(text[at + 1]);
        if (!high || !low) return std::nullopt;
        mac[i] = static_cast<std::uint8_t>(*high << 4 | *low);
    }
    return mac;
}

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
    std::uint8_t octets[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::size_t dot = text.find('.');
        const std::string_view part = i < 3 ? text.substr(0, dot) : text;
        if ((i < 3 && dot == std::string_view::npos) || !AllDigits(part) || part.size() > 3)
            return std::nullopt;
        if (part.size() > 1 && part[0] == '0') return std::nullopt;
        unsigned value = 0;
        std::from_chars(part.data(), part.data() + part.size(), value);
        if (value > 255) return std::nullopt;
        octets[i] = static_cast<std::uint8_t>(value);
        if (i < 3) text.remove_prefix(dot + 1);
    }
    std::uint32_t address = 0;
    std::memcpy(&address, octets, sizeof address);
    return address;
}

std::optional<int> ParsePositiveInt(std::string_view text) {
    if (!AllDigits(text)) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0) return std::nullopt;
    return value;
}

std::optional<double> ParseTimeScale(std::string_view text) {
    if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value <= 0.0)
        return std::nullopt;
    return value;
}

bool IsEveryModule(const Mac& mac) {
    for (const std::uint8_t byte : mac)
        if (byte != 0xff) return false;
    return true;
}

}  // namespace tq7ctl
