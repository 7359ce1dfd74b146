#include "tools/tq7ctl/device_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tq7ctl {
namespace {

std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t octets[4] = {a, b, c, d};
    std::uint32_t address;
    std::memcpy(&address, octets, 4);
    return address;
}

// A record with every field set to a value of its own, so a field printed under another's name
// or from the wrong place shows.
AddpDevice FullRecord() {
    AddpDevice device{};
    device.localAddress = Address(10, 77, 1, 1);
    device.present = 0xfffe;
    const std::uint8_t mac[6] = {0x00, 0x40, 0x9D, 0x0A, 0xBC, 0xFF};
    std::memcpy(device.mac, mac, 6);
    device.ipAddress = Address(10, 77, 1, 20);
    device.subnetMask = Address(255, 255, 255, 0);
    device.gateway = Address(10, 77, 1, 254);
    device.dnsAddress = Address(8, 8, 4, 4);
    device.dhcpEnabled = 1;
    device.realPortPort = 771;
    std::strcpy(device.name, "Line \"A\"\\2");
    std::strcpy(device.domain, "lab.example");
    device.hardwareType = 17;
    device.hardwareRevision = 3;
    std::strcpy(device.firmware, "82000856_F");
    std::strcpy(device.modelName, "Digi Connect ME");
    device.portCount = 1;
    device.advisory = 65535;
    device.extPresent = 0x3f;
    device.ext224Length = 3;
    const std::uint8_t ext224[] = {0x00, 0x7f, 0xA0, 0xEE};  // the fourth byte lies beyond the kept length
    std::memcpy(device.ext224, ext224, sizeof ext224);
    device.ext225 = 225;
    device.ext227 = 227;
    device.ext228 = 228;
    device.ext229Length = 13;
    for (std::uint8_t i = 0; i < 13; ++i) device.ext229[i] = static_cast<std::uint8_t>(0xf0 + i);
    device.ext230 = 4660;
    return device;
}

TEST(DeviceFormat, JsonHoldsEveryFieldUnderItsOwnName) {
    EXPECT_EQ(
        DeviceJson(FullRecord()),
        R"({"localAddress":"10.77.1.1","present":65534,"mac":"00:40:9d:0a:bc:ff","ipAddress":"10.77.1.20",)"
        R"("subnetMask":"255.255.255.0","gateway":"10.77.1.254","dnsAddress":"8.8.4.4","dhcpEnabled":1,)"
        R"("realPortPort":771,"name":"Line \"A\"\\2","domain":"lab.example","hardwareType":17,)"
        R"("hardwareRevision":3,"firmware":"82000856_F","modelName":"Digi Connect ME","portCount":1,)"
        R"("advisory":65535,"extPresent":63,"ext224Length":3,"ext224":"007fa0","ext225":225,)"
        R"("ext227":227,"ext228":228,"ext229Length":13,"ext229":"f0f1f2f3f4f5f6f7f8f9fafbfc",)"
        R"("ext230":4660})");
}

TEST(DeviceFormat, JsonOfAnEmptyRecordAndOfLengthsPastTheirFields) {
    AddpDevice device{};
    EXPECT_EQ(DeviceJson(device),
              R"({"localAddress":"0.0.0.0","present":0,"mac":"00:00:00:00:00:00","ipAddress":"0.0.0.0",)"
              R"("subnetMask":"0.0.0.0","gateway":"0.0.0.0","dnsAddress":"0.0.0.0","dhcpEnabled":0,)"
              R"("realPortPort":0,"name":"","domain":"","hardwareType":0,"hardwareRevision":0,"firmware":"",)"
              R"("modelName":"","portCount":0,"advisory":0,"extPresent":0,"ext224Length":0,"ext224":"",)"
              R"("ext225":0,"ext227":0,"ext228":0,"ext229Length":0,"ext229":"","ext230":0})");

    // A length byte larger than its field never reads past the field; text without a terminator
    // stops at the field's end.
    device.ext224Length = 200;
    device.ext229Length = 14;
    std::memset(device.ext224, 0xab, sizeof device.ext224);
    std::memset(device.ext229, 0xcd, sizeof device.ext229);
    std::memset(device.name, 'n', sizeof device.name);
    const std::string json = DeviceJson(device);
    std::string ext224 = R"("ext224Length":200,"ext224":")";
    for (int i = 0; i < 32; ++i) ext224 += "ab";
    std::string ext229 = R"("ext229Length":14,"ext229":")";
    for (int i = 0; i < 13; ++i) ext229 += "cd";
    EXPECT_NE(json.find(ext224 + "\""), std::string::npos) << json;
    EXPECT_NE(json.find(ext229 + "\""), std::string::npos) << json;
    EXPECT_NE(json.find(R"("name":")" + std::string(256, 'n') + "\""), std::string::npos) << json;
}

TEST(DeviceFormat, JsonStringEscapesEverythingOutsidePrintableAscii) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", R"("")"},
        {"Desk 1", R"("Desk 1")"},
        {"say \"hi\"", R"("say \"hi\"")"},
        {"C:\\tq7", R"("C:\\tq7")"},
        {"a/b", R"("a/b")"},
        {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
        {std::string_view("\x00\x01\x1f", 3), R"("\u0000\u0001\u001f")"},
        {"\x7f", R"("\u007f")"},
        {"caf\xe9", R"("caf\u00e9")"},
        {"\xc3\xa9\xff", R"("\u00c3\u00a9\u00ff")"},
        {" ~", R"(" ~")"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(JsonString(text), expected) << expected;
}

TEST(DeviceFormat, LineShowsAddressMacNameAndModelInColumns) {
    AddpDevice device = FullRecord();
    EXPECT_EQ(DeviceLine(device), "10.77.1.20\t00:40:9d:0a:bc:ff\tLine \"A\"\\\\2\tTQ7 Converter");

    struct Case {
        const char* name;
        const char* model;
        std::string_view line;
    };
    const Case cases[] = {
        {"Desk", "Digi Connect ME", "10.77.1.20\t00:40:9d:0a:bc:ff\tDesk\tTQ7 Converter"},
        {"Desk", "digi connect me", "10.77.1.20\t00:40:9d:0a:bc:ff\tDesk\tdigi connect me"},
        {"Desk", "Digi Connect ME ", "10.77.1.20\t00:40:9d:0a:bc:ff\tDesk\tDigi Connect ME "},
        {"Desk", "PortServer TS 2", "10.77.1.20\t00:40:9d:0a:bc:ff\tDesk\tPortServer TS 2"},
        {"", "", "10.77.1.20\t00:40:9d:0a:bc:ff\t\t"},
        {"two\tcols\nline\r", "M\x7f", "10.77.1.20\t00:40:9d:0a:bc:ff\ttwo\\x09cols\\x0aline\\x0d\tM\\x7f"},
        // Latin-1 in, UTF-8 out; the C1 controls are escaped like the others.
        {"caf\xe9 \xa0\xff", "X\x85\x9f", "10.77.1.20\t00:40:9d:0a:bc:ff\tcaf\xc3\xa9 \xc2\xa0\xc3\xbf\tX\\x85\\x9f"},
    };
    for (const Case& c : cases) {
        std::strcpy(device.name, c.name);
        std::strcpy(device.modelName, c.model);
        EXPECT_EQ(DeviceLine(device), c.line) << c.name << " / " << c.model;
    }
    // The record keeps what the converter sent; only the shown text changes.
    std::strcpy(device.modelName, "Digi Connect ME");
    DeviceLine(device);
    EXPECT_STREQ(device.modelName, "Digi Connect ME");
}

}  // namespace
}  // namespace tq7ctl
