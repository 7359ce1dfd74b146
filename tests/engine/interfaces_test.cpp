#include "engine/local_interfaces.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::uint32_t Ip(const char* text) {
    in_addr address{};
    inet_pton(AF_INET, text, &address);
    return address.s_addr;
}

constexpr unsigned kUp = IFF_UP | IFF_RUNNING;
constexpr unsigned kLan = kUp | IFF_BROADCAST | IFF_MULTICAST;
// As Linux reports loopback: up, but not marked as able to multicast.
constexpr unsigned kLoopback = kUp | IFF_LOOPBACK;

using Chosen = std::vector<std::pair<std::string, std::string>>;  // name, address

Chosen Select(const std::vector<AddpInterfaceEntry>& entries, bool loopbackOnly = false) {
    Chosen chosen;
    for (const AddpInterface& interface : AddpSelectInterfaces(entries, loopbackOnly)) {
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &interface.address, text, sizeof text);
        chosen.emplace_back(interface.name, text);
    }
    return chosen;
}

TEST(InterfaceSelection, EveryUpMulticastAddressBesidesLoopbackInTheSystemsOrder) {
    struct Case {
        const char* name;
        std::vector<AddpInterfaceEntry> entries;
        Chosen expected;
    } cases[] = {
        {"a desktop: loopback and one link",
         {{"lo", kLoopback, Ip("127.0.0.1")}, {"enp3s0", kLan, Ip("192.168.1.20")}},
         {{"enp3s0", "192.168.1.20"}}},
        {"two links, in the system's order",
         {{"wlan0", kLan, Ip("10.0.0.9")}, {"lo", kLoopback, Ip("127.0.0.1")}, {"eth0", kLan, Ip("192.168.1.20")}},
         {{"wlan0", "10.0.0.9"}, {"eth0", "192.168.1.20"}}},
        {"two addresses on one link, and one repeated",
         {{"eth0", kLan, Ip("192.168.1.20")}, {"eth0", kLan, Ip("192.168.7.20")}, {"eth1", kLan, Ip("192.168.1.20")}},
         {{"eth0", "192.168.1.20"}, {"eth0", "192.168.7.20"}}},
        {"a link that is down or cannot multicast is left out",
         {{"lo", kLoopback, Ip("127.0.0.1")},
          {"eth0", IFF_BROADCAST | IFF_MULTICAST, Ip("192.168.1.20")},
          {"tun0", kUp | IFF_POINTOPOINT, Ip("10.8.0.2")},
          {"eth1", kLan, Ip("172.16.0.4")}},
         {{"eth1", "172.16.0.4"}}},
        {"loopback only", {{"lo", kLoopback, Ip("127.0.0.1")}}, {{"lo", "127.0.0.1"}}},
        {"loopback only, whatever else it carries",
         {{"lo", kLoopback, Ip("127.0.1.1")}, {"eth0", IFF_MULTICAST, Ip("192.168.1.20")}},
         {{"lo", "127.0.0.1"}}},
        {"nothing up", {{"lo", IFF_LOOPBACK, Ip("127.0.0.1")}, {"eth0", IFF_MULTICAST, Ip("192.168.1.20")}}, {}},
        {"no interface at all", {}, {}},
        {"a name longer than the field is cut",
         {{"a-very-long-interface-name", kLan, Ip("10.1.1.1")}},
         {{"a-very-long-int", "10.1.1.1"}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Select(c.entries), c.expected) << c.name;
}

TEST(InterfaceSelection, LoopbackOnlyLeavesEveryLinkOut) {
    const std::vector<AddpInterfaceEntry> desktop{{"lo", kLoopback, Ip("127.0.0.1")},
                                                  {"eth0", kLan, Ip("192.168.1.20")}};
    EXPECT_EQ(Select(desktop, true), (Chosen{{"lo", "127.0.0.1"}}));
    EXPECT_EQ(Select({{"eth0", kLan, Ip("192.168.1.20")}}, true), Chosen{});
}

TEST(InterfaceSelection, PublicListingRefusesNoRoom) {
    AddpInterface interface{};
    EXPECT_EQ(AddpGetLocalInterfaces(nullptr, 4), -1);
    EXPECT_EQ(AddpGetLocalInterfaces(&interface, 0), -1);
}

}  // namespace
