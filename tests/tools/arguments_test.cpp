#include "tools/tq7ctl/arguments.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string_view>

namespace tq7ctl {
namespace {

struct MacCase {
    std::string_view text;
    std::optional<Mac> expected;
};

TEST(ParseMac, AcceptsSixHexPairsWithOneKindOfSeparator) {
    const Mac sample{0x00, 0x40, 0x9d, 0xab, 0xCD, 0xef};
    const Mac every{0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
    const MacCase cases[] = {
        {"00:40:9d:ab:cd:ef", sample},
        {"00-40-9D-AB-CD-EF", sample},
        {"00:40:9D:aB:Cd:eF", sample},
        {"FF:FF:FF:FF:FF:FF", every},  // the parser passes it on; the engine refuses to address it
        {"", std::nullopt},
        {"00:40:9d:ab:cd", std::nullopt},
        {"00:40:9d:ab:cd:ef:01", std::nullopt},
        {"00:40:9d:ab:cd:e", std::nullopt},
        {"0:40:9d:ab:cd:ef0", std::nullopt},
        {"00:40-9d:ab:cd:ef", std::nullopt},
        {"00.40.9d.ab.cd.ef", std::nullopt},
        {"0040:9d:ab:cd:ef:", std::nullopt},
        {"00:40:9d:ab:cd:eg", std::nullopt},
        {"00:40:9d:ab:cd:ef ", std::nullopt},
        {" 0:40:9d:ab:cd:ef", std::nullopt},
        {"00409dabcdef", std::nullopt},
    };
    for (const MacCase& c : cases) EXPECT_EQ(ParseMac(c.text), c.expected) << "'" << c.text << "'";
}

struct Ipv4Case {
    std::string_view text;
    std::optional<std::array<std::uint8_t, 4>> octets;  // first octet first in memory
};

TEST(ParseIpv4, AcceptsFourDecimalOctetsInNetworkOrder) {
    using Octets = std::array<std::uint8_t, 4>;
    const Ipv4Case cases[] = {
        {"192.168.1.10", Octets{192, 168, 1, 10}},
        {"0.0.0.0", Octets{0, 0, 0, 0}},
        {"255.255.255.255", Octets{255, 255, 255, 255}},
        {"10.0.255.1", Octets{10, 0, 255, 1}},
        {"256.1.1.1", std::nullopt},
        {"1.1.1.256", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"1.2.3.4.", std::nullopt},
        {".1.2.3", std::nullopt},
        {"1..2.3", std::nullopt},
        {"1.2.3.-4", std::nullopt},
        {"+1.2.3.4", std::nullopt},
        {"1.2.3.4 ", std::nullopt},
        {"01.2.3.4", std::nullopt},
        {"1.2.3.0x4", std::nullopt},
        {"1.2.3.1000", std::nullopt},
        {"1.2.3.0004", std::nullopt},
        {"a.b.c.d", std::nullopt},
        {"", std::nullopt},
        {"16909060", std::nullopt},
    };
    for (const Ipv4Case& c : cases) {
        const auto address = ParseIpv4(c.text);
        ASSERT_EQ(address.has_value(), c.octets.has_value()) << "'" << c.text << "'";
        if (!address) continue;
        Octets inMemory;
        std::memcpy(inMemory.data(), &*address, 4);
        EXPECT_EQ(inMemory, *c.octets) << "'" << c.text << "'";
    }
}

TEST(ParseNumbers, PositiveIntegersAndTimeScales) {
    const std::pair<std::string_view, std::optional<int>> integers[] = {
        {"1", 1},
        {"3", 3},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"0", std::nullopt},
        {"-1", std::nullopt},
        {"+3", std::nullopt},
        {"3s", std::nullopt},
        {"", std::nullopt},
        {" 3", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& [text, expected] : integers)
        EXPECT_EQ(ParsePositiveInt(text), expected) << "'" << text << "'";

    const std::pair<std::string_view, std::optional<double>> scales[] = {
        {"1", 1.0},           {"0.01", 0.01},          {"2e-3", 0.002},
        {"10", 10.0},         {"0", std::nullopt},     {"-0.5", std::nullopt},
        {"+1", std::nullopt}, {"inf", std::nullopt},   {"nan", std::nullopt},
        {"", std::nullopt},   {"0.01x", std::nullopt}, {"1e-400", std::nullopt},
    };
    for (const auto& [text, expected] : scales)
        EXPECT_EQ(ParseTimeScale(text), expected) << "'" << text << "'";
}

}  // namespace
}  // namespace tq7ctl
