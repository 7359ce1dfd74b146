#include "sim/replies.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/sim/loopback.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

sim::ModuleDescription DeskModule() {
    sim::ModuleDescription module;
    module.mac = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    module.ipAddress = *sim::ParseIpv4("10.0.0.5");
    module.subnetMask = *sim::ParseIpv4("255.255.255.0");
    module.gateway = *sim::ParseIpv4("10.0.0.1");
    module.dnsAddress = *sim::ParseIpv4("10.0.0.2");
    module.name = "Desk";
    module.hardwareRevision = 3;
    module.firmware = "1.2";
    module.realPortPort = 771;
    return module;
}

std::vector<std::uint8_t> Codes(const std::vector<sim::ReplyField>& fields) {
    std::vector<std::uint8_t> codes;
    for (const auto& field : fields) codes.push_back(field.code);
    return codes;
}

TEST(DiscoveryReply, IsByteExactForAModuleWithoutModelOrPortCount) {
    const Bytes expected{
        'D',  'I',  'G',  'I',  0x00, 0x02, 0x00, 0x3a,  // header, payload 58
        0x01, 0x06, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01,  // MAC
        0x02, 0x04, 10,   0,    0,    5,                 // IP address
        0x03, 0x04, 255,  255,  255,  0,                 // subnet mask
        0x0b, 0x04, 10,   0,    0,    1,                 // gateway
        0x0f, 0x04, 10,   0,    0,    2,                 // DNS
        0x04, 0x04, 'D',  'e',  's',  'k',               // name
        0x05, 0x00,                                      // domain, empty
        0x06, 0x01, 0x00,                                // hardware type
        0x07, 0x01, 0x03,                                // hardware revision
        0x08, 0x03, '1',  '.',  '2',                     // firmware
        0x10, 0x01, 0x00,                                // DHCP off
        0x0e, 0x02, 0x03, 0x03,                          // RealPort 771
    };
    EXPECT_EQ(sim::EncodeReply(kAddpMagicDigi, {AddpDiscoveryReply, sim::DiscoveryReplyFields(DeskModule())}),
              expected);
}

TEST(DiscoveryReply, PlacesModelAfterRevisionAndPortCountAndExtrasLast) {
    sim::ModuleDescription module = DeskModule();
    module.modelName = "Digi Connect ME";
    module.portCount = 1;
    module.dhcpEnabled = true;
    module.extraFields = {{AddpFieldAdvisory, {0x12, 0x34}}};
    const auto fields = sim::DiscoveryReplyFields(module);
    EXPECT_EQ(Codes(fields), (std::vector<std::uint8_t>{1, 2, 3, 11, 15, 4, 5, 6, 7, 13, 8, 16, 14, 18, 12}));

    // What the engine makes of it is what the description says.
    const auto record = simtest::Decode(AddpDiscoveryReply, sim::EncodeReply(kAddpMagicDigi, {2, fields}));
    ASSERT_TRUE(record);
    const AddpDevice& device = record->device;
    EXPECT_EQ(0, std::memcmp(device.mac, module.mac.data(), 6));
    EXPECT_EQ(device.ipAddress, module.ipAddress);
    EXPECT_EQ(device.subnetMask, module.subnetMask);
    EXPECT_EQ(device.gateway, module.gateway);
    EXPECT_EQ(device.dnsAddress, module.dnsAddress);
    EXPECT_STREQ(device.name, "Desk");
    EXPECT_STREQ(device.modelName, "Digi Connect ME");
    EXPECT_STREQ(device.firmware, "1.2");
    EXPECT_EQ(device.dhcpEnabled, 1);
    EXPECT_EQ(device.realPortPort, 771);
    EXPECT_EQ(device.portCount, 1);
    EXPECT_EQ(device.advisory, 0x1234);
}

TEST(DiscoveryReply, CutsTextsToWhatAFieldCarries) {
    sim::ModuleDescription module = DeskModule();
    module.name = std::string(300, 'n');
    const auto fields = sim::DiscoveryReplyFields(module);
    const auto name = std::find_if(fields.begin(), fields.end(), [](const auto& f) { return f.code == 4; });
    ASSERT_NE(name, fields.end());
    EXPECT_EQ(name->value.size(), 255u);

    const auto record = simtest::Decode(AddpDiscoveryReply, sim::EncodeReply(kAddpMagicDigi, {2, fields}));
    ASSERT_TRUE(record);
    EXPECT_EQ(std::string(record->device.name), std::string(255, 'n'));
}

TEST(ConfigurationReply, CarriesMacAndOutcomeOrOnlyTheMac) {
    const sim::Mac mac{0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    const Bytes refused{
        'D',  'I',  'G',  'I',  0x00, 0x04, 0x00, 0x17,       // payload 23
        0x01, 0x06, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01,       // MAC
        0x0a, 0x01, 0x01,                                     // result flag
        0x11, 0x01, 0x01,                                     // error code
        0x09, 0x07, 'R',  'e',  'f',  'u',  's',  'e',  'd',  // message
    };
    EXPECT_EQ(sim::EncodeReply(
                  kAddpMagicDigi,
                  {AddpNetworkReply, sim::ConfigurationReplyFields(mac, sim::ReplyOutcome{1, 1, "Refused"})}),
              refused);

    const Bytes bare{'D',  'I',  'G',  'I',  0x00, 0x06, 0x00, 0x08,
                     0x01, 0x06, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(
        sim::EncodeReply(kAddpMagicDigi, {AddpRebootReply, sim::ConfigurationReplyFields(mac, std::nullopt)}),
        bare);
}

}  // namespace
