#pragma once
// The argument parsers: strict, so that a typo is a usage error instead of another converter.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tq7ctl {

using Mac = std::array<std::uint8_t, 6>;

// Six hex pairs, either case, all separated by ':' or all by '-'.
std::optional<Mac> ParseMac(std::string_view text);

// Four decimal octets 0-255 ("192.168.1.10"), in network order: first octet first in memory.
// Leading zeros are refused ("010" reads as 8 to some tools and 10 to others).
std::optional<std::uint32_t> ParseIpv4(std::string_view text);

// A whole number from 1 to 2^31 - 1, digits only.
std::optional<int> ParsePositiveInt(std::string_view text);

// A finite number above 0 ("0.01", "1", "2e-3").
std::optional<double> ParseTimeScale(std::string_view text);

bool IsEveryModule(const Mac& mac);

}  // namespace tq7ctl
