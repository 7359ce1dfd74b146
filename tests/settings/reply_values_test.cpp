#include "settings/reply_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

struct ColonCase {
    const char* name;
    std::string text;
    const char* keyword;
    const char* value;
};

TEST(ExtractColonValue, TakesTheWordAfterTheFirstSpaceAfterTheColon) {
    const std::vector<ColonCase> cases = {
        {"one space", "show network\r\n    ipaddress : 10.1.2.3\r\n", "ipaddress", "10.1.2.3"},
        {"two spaces blank the value", "ipaddress :  10.1.2.3\r\n", "ipaddress", ""},
        {"no space after the colon", "ipaddress :10.1.2.3\r\n", "ipaddress", ""},
        {"ends at the next space", "ipaddress : 10.1.2.3 (static)\r\n", "ipaddress", "10.1.2.3"},
        {"empty before the CR", "ipaddress : \r\n", "ipaddress", ""},
        {"first occurrence of the keyword", "gateway : 1.1.1.1\r\ngateway : 2.2.2.2\r\n", "gateway", "1.1.1.1"},
        {"colon on a later line", "submask\r\n x : 255.0.0.0\r\n", "submask", "255.0.0.0"},
        {"case-sensitive keyword", "IPADDRESS : 10.1.2.3\r\n", "ipaddress", ""},
        {"no keyword", "submask : 255.0.0.0\r\n", "ipaddress", ""},
        {"no colon after the keyword", ": 1.2.3.4\r\nipaddress 10.1.2.3\r\n", "ipaddress", ""},
        {"no CR after the colon", "ipaddress : 10.1.2.3\n", "ipaddress", ""},
        {"zero byte before the CR", "ipaddress : 10.1\0.2.3\r\n"s, "ipaddress", ""},
        {"zero byte before the keyword", "x\0ipaddress : 10.1.2.3\r\n"s, "ipaddress", ""},
    };
    for (const ColonCase& c : cases)
        EXPECT_EQ(settings::ExtractColonValue(c.text, c.keyword), c.value) << c.name;
}

// The reply may end anywhere; the view is all there is, and nothing after it may be read.
TEST(ExtractColonValue, StopsAtTheEndOfTheText) {
    const std::string buffer = "ipaddress : 10.1.2.3\r\n";
    for (std::size_t length = 0; length < buffer.size(); ++length) {
        const std::string exact = buffer.substr(0, length);
        const std::string_view value = settings::ExtractColonValue(exact, "ipaddress");
        EXPECT_EQ(value, length > buffer.find('\r') ? "10.1.2.3" : "") << length;
    }
}

struct PositionCase {
    const char* name;
    std::string text;
    std::optional<int> position;
};

void ExpectPositions(std::optional<int> (*parse)(std::string_view), const std::vector<PositionCase>& cases) {
    for (const PositionCase& c : cases) EXPECT_EQ(parse(c.text), c.position) << c.name;
}

TEST(ParseDhcp, KnowsOnSuppliedAndOffOnly) {
    ExpectPositions(settings::ParseDhcp, {
                                             {"off", "         dhcp : off\r\n", 1},
                                             {"on", "         dhcp : on\r\n", 0},
                                             {"supplied", "         dhcp : supplied\r\n", 0},
                                             {"capitalised Off", "         dhcp : Off\r\n", std::nullopt},
                                             {"two spaces", "         dhcp :  off\r\n", std::nullopt},
                                             {"no dhcp line", "      gateway : 1.2.3.4\r\n", std::nullopt},
                                             {"no CR", "         dhcp : off", std::nullopt},
                                             {"zero byte first", "\0dhcp : off\r\n"s, std::nullopt},
                                         });
}

TEST(ParseEthernetSpeed, ReadsWhatTheSpeedIsSetTo) {
    ExpectPositions(settings::ParseEthernetSpeed,
                    {
                        {"auto", "        Speed : 100 Mbit/s (set to auto)\r\n", 0},
                        {"10", "        Speed : 10 Mbit/s (set to 10)\r\n", 1},
                        {"100", "        Speed : 100 Mbit/s (set to 100)\r\n", 2},
                        {"spaces inside", "        Speed : 100 Mbit/s (set to  1 0 0 )\r\n", 2},
                        {"without the bracket", "        Speed : 100 Mbit/s (set to 100\r\n", std::nullopt},
                        {"no set to", "        Speed : 100 Mbit/s\r\n", std::nullopt},
                        {"set to before Speed", "(set to auto)\r\n Speed : 10\r\n", std::nullopt},
                        {"set to right at the CR", "Speed set to\r\n", std::nullopt},
                        {"no CR", "        Speed : 100 Mbit/s (set to auto)", std::nullopt},
                        {"zero byte before the line", "\0        Speed : (set to auto)\r\n"s, std::nullopt},
                        {"lower-case speed", "        speed : (set to auto)\r\n", std::nullopt},
                    });
}

TEST(ParseSerialProfile, ReadsTheProfileOfPortOne) {
    ExpectPositions(settings::ParseSerialProfile,
                    {
                        {"udp_socket, five spaces", "show profile\r\n1     udp_socket\r\n", 6},
                        {"udp_sockets is not read", "show profile\r\n1     udp_sockets\r\n", std::nullopt},
                        {"six spaces keep one", "show profile\r\n1      udp_socket\r\n", std::nullopt},
                        {"tunneling", "1     tunneling\r\n", 5},
                        {"ppp", "1     ppp\r\n", 9},
                        {"console_management", "1     console_management\r\n", 0},
                        {"spaces after the keyword", "1     ppp \r\n", std::nullopt},
                        {"case-sensitive", "1     PPP\r\n", std::nullopt},
                        {"the first 1 counts", "Port 1 of 1\r\n1     ppp\r\n", std::nullopt},
                        {"no 1", "Port  Profile\r\n", std::nullopt},
                        {"too short before the CR", "1  \r\n", std::nullopt},
                        {"no CR", "1     ppp", std::nullopt},
                        {"zero byte before the line", "\0\r\n1     ppp\r\n"s, std::nullopt},
                    });
}

}  // namespace
