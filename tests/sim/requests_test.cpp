#include "sim/requests.h"

#include <gtest/gtest.h>

#include "engine/frames.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kMac[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x07};
const sim::Mac kTarget{0x02, 0x00, 0x00, 0x00, 0x00, 0x07};

// The engine's own builders make the requests, so the simulator reads what the engine writes.
TEST(ParseRequest, ReadsEveryRequestTheEngineBuilds) {
    const std::uint32_t ip = *sim::ParseIpv4("10.1.2.3");
    const std::uint32_t mask = *sim::ParseIpv4("255.255.0.0");
    const std::uint32_t gateway = *sim::ParseIpv4("10.1.0.1");
    const std::string longest(255, 'p');
    struct Case {
        const char* name;
        Bytes datagram;
        sim::Request expected;
    };
    const Case cases[] = {
        {"discovery, every module",
         AddpBuildDiscoveryRequest(kAddpMagicDigi, kAddpEveryModule),
         {AddpDiscoveryRequest, sim::Mac{0xff, 0xff, 0xff, 0xff, 0xff, 0xff}}},
        {"discovery, one MAC",
         AddpBuildDiscoveryRequest(kAddpMagicDigi, kMac),
         {AddpDiscoveryRequest, kTarget}},
        {"static settings",
         AddpBuildNetworkRequest(kAddpMagicDigi, kMac, ip, mask, gateway, "secret"),
         {AddpNetworkRequest, kTarget, ip, mask, gateway, 0, "secret"}},
        {"reboot, empty password",
         AddpBuildRebootRequest(kAddpMagicDigi, kMac, ""),
         {AddpRebootRequest, kTarget}},
        {"reboot, longest password",
         AddpBuildRebootRequest(kAddpMagicDigi, kMac, longest),
         {AddpRebootRequest, kTarget, 0, 0, 0, 0, longest}},
        {"DHCP",
         AddpBuildDhcpRequest(kAddpMagicDigi, kMac, 1, "pw"),
         {AddpDhcpRequest, kTarget, 0, 0, 0, 1, "pw"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto request = sim::ParseRequest(kAddpMagicDigi, c.datagram);
        ASSERT_TRUE(request);
        EXPECT_EQ(request->type, c.expected.type);
        EXPECT_EQ(request->target, c.expected.target);
        EXPECT_EQ(request->ipAddress, c.expected.ipAddress);
        EXPECT_EQ(request->subnetMask, c.expected.subnetMask);
        EXPECT_EQ(request->gateway, c.expected.gateway);
        EXPECT_EQ(request->dhcpFlag, c.expected.dhcpFlag);
        EXPECT_EQ(request->password, c.expected.password);
    }
}

TEST(ParseRequest, RefusesWhatIsNoWholeRequest) {
    const Bytes reboot = AddpBuildRebootRequest(kAddpMagicDigi, kMac, "abc");
    Bytes passwordPastPayload = reboot;
    passwordPastPayload[14] = 4;  // one byte more password than the payload holds
    Bytes payloadPastEnd = reboot;
    payloadPastEnd[7] = static_cast<std::uint8_t>(payloadPastEnd[7] + 1);
    Bytes shortPayload = AddpBuildDiscoveryRequest(kAddpMagicDigi, kMac);
    shortPayload[7] = 5;
    shortPayload.pop_back();
    Bytes reply = AddpBuildDiscoveryRequest(kAddpMagicDigi, kMac);
    reply[5] = AddpDiscoveryReply;

    const struct {
        const char* name;
        Bytes datagram;
    } cases[] = {
        {"empty", {}},
        {"header cut short", {'D', 'I', 'G', 'I', 0x00, 0x01, 0x00}},
        {"other magic", AddpBuildDiscoveryRequest(0x41424344, kMac)},
        {"password past the payload", passwordPastPayload},
        {"payload past the datagram", payloadPastEnd},
        {"discovery payload of 5 bytes", shortPayload},
        {"a reply type", reply},
        {"unknown type 9", {'D', 'I', 'G', 'I', 0x00, 0x09, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(sim::ParseRequest(kAddpMagicDigi, c.datagram));
    }
}

}  // namespace
