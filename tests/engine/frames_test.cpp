#include "engine/frames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/model_table.h"
#include "tests/engine/reply_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kMac[6] = {0x00, 0x40, 0x9d, 0x0a, 0x1b, 0x2c};
constexpr std::uint8_t kDigi[4] = {'D', 'I', 'G', 'I'};

std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t bytes[4] = {a, b, c, d};
    std::uint32_t value;
    std::memcpy(&value, bytes, 4);
    return value;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

const Bytes kMacBytes(kMac, kMac + 6);
const Bytes kMagicBytes(kDigi, kDigi + 4);

TEST(RequestFrames, AreByteExact) {
    const std::string password = "secret";
    const Bytes passwordBytes(password.begin(), password.end());
    struct Case {
        const char* name;
        Bytes built;
        Bytes expected;
    } cases[] = {
        {"discovery of every module", AddpBuildDiscoveryRequest(kAddpMagicDigi, kAddpEveryModule),
         {'D', 'I', 'G', 'I', 0x00, 0x01, 0x00, 0x06, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}},
        {"discovery of one module", AddpBuildDiscoveryRequest(kAddpMagicDigi, kMac),
         Concat({kMagicBytes, {0x00, 0x01, 0x00, 0x06}, kMacBytes})},
        {"reboot with empty password", AddpBuildRebootRequest(kAddpMagicDigi, kMac, ""),
         Concat({kMagicBytes, {0x00, 0x05, 0x00, 0x07}, kMacBytes, {0x00}})},
        {"reboot", AddpBuildRebootRequest(kAddpMagicDigi, kMac, password),
         Concat({kMagicBytes, {0x00, 0x05, 0x00, 13}, kMacBytes, {6}, passwordBytes})},
        {"static network",
         AddpBuildNetworkRequest(kAddpMagicDigi, kMac, Address(192, 168, 1, 50), Address(255, 255, 255, 0),
                                 Address(192, 168, 1, 1), password),
         Concat({kMagicBytes, {0x00, 0x03, 0x00, 25}, {192, 168, 1, 50, 255, 255, 255, 0, 192, 168, 1, 1}, kMacBytes,
                 {6}, passwordBytes})},
        {"dhcp", AddpBuildDhcpRequest(kAddpMagicDigi, kMac, 1, password),
         Concat({kMagicBytes, {0x00, 0x07, 0x00, 14}, {0x01}, kMacBytes, {6}, passwordBytes})},
        {"other magic", AddpBuildDiscoveryRequest(0x01020304, kMac),
         Concat({{1, 2, 3, 4, 0x00, 0x01, 0x00, 0x06}, kMacBytes})},
    };
    for (const Case& c : cases) EXPECT_EQ(c.built, c.expected) << c.name;
}

TEST(RequestFrames, LongestPasswordFitsAndLongerIsRefused) {
    const std::string longest(255, 'p');
    const std::string tooLong(256, 'p');
    EXPECT_EQ(AddpBuildNetworkRequest(kAddpMagicDigi, kMac, 0, 0, 0, longest).size(), 282u);
    EXPECT_EQ(AddpBuildRebootRequest(kAddpMagicDigi, kMac, longest).size(), 270u);
    EXPECT_EQ(AddpBuildDhcpRequest(kAddpMagicDigi, kMac, 1, longest).size(), 271u);
    EXPECT_EQ(AddpBuildRebootRequest(kAddpMagicDigi, kMac, longest)[14], 255);
    EXPECT_TRUE(AddpBuildNetworkRequest(kAddpMagicDigi, kMac, 0, 0, 0, tooLong).empty());
    EXPECT_TRUE(AddpBuildRebootRequest(kAddpMagicDigi, kMac, tooLong).empty());
    EXPECT_TRUE(AddpBuildDhcpRequest(kAddpMagicDigi, kMac, 1, tooLong).empty());
}

class ReplyDecoding : public ::testing::Test {
protected:
    ReplyDecoding() { AddpInitReplyRecord(record); }
    bool Parse(const Bytes& datagram, std::uint16_t type = AddpDiscoveryReply) {
        // An exact-size copy, so that a read past the end is a read past an allocation.
        const Bytes exact(datagram);
        return AddpParseReply(kAddpMagicDigi, type, exact, record);
    }
    AddpReplyRecord record;
};

TEST_F(ReplyDecoding, FillsEveryFieldOfAFullReply) {
    const auto datagram = ReplyFixture(AddpDiscoveryReply)
                              .Mac({0x00, 0x40, 0x9d, 0x0a, 0x1b, 0x2c})
                              .Field(2, {10, 0, 0, 5})
                              .Field(3, {255, 255, 0, 0})
                              .Field(11, {10, 0, 0, 1})
                              .Field(15, {10, 0, 0, 2})
                              .Text(4, "bench-7")
                              .Text(5, "lab")
                              .Field(6, {0x00, 0x00, 0x00, 0x10})
                              .Field(7, {3})
                              .Text(8, "82000856_F")
                              .Text(13, "Digi Connect ME")
                              .Field(16, {1})
                              .Field(14, {0x03, 0x03})
                              .Field(18, {1})
                              .Field(12, {0x12, 0x34})
                              .Bytes();
    ASSERT_TRUE(Parse(datagram));
    const AddpDevice& d = record.device;
    EXPECT_EQ(0, std::memcmp(d.mac, kMac, 6));
    EXPECT_EQ(d.ipAddress, Address(10, 0, 0, 5));
    EXPECT_EQ(d.subnetMask, Address(255, 255, 0, 0));
    EXPECT_EQ(d.gateway, Address(10, 0, 0, 1));
    EXPECT_EQ(d.dnsAddress, Address(10, 0, 0, 2));
    EXPECT_STREQ(d.name, "bench-7");
    EXPECT_STREQ(d.domain, "lab");
    EXPECT_EQ(d.hardwareType, 0x10);
    EXPECT_EQ(d.hardwareRevision, 3);
    EXPECT_STREQ(d.firmware, "82000856_F");
    EXPECT_STREQ(d.modelName, "Digi Connect ME");
    EXPECT_EQ(d.dhcpEnabled, 1);
    EXPECT_EQ(d.realPortPort, 771);
    EXPECT_EQ(d.portCount, 1);
    EXPECT_EQ(d.advisory, 0x1234);
    EXPECT_EQ(d.present, 0x7fffu);
    EXPECT_EQ(d.extPresent, 0u);
    EXPECT_EQ(record.replyPresent, 0u);
}

TEST_F(ReplyDecoding, EmptyPayloadIsGoodAndSetsNothing) {
    record.device.present = 0xffff;
    ASSERT_TRUE(Parse(ReplyFixture(AddpDiscoveryReply).Bytes()));
    EXPECT_EQ(record.device.present, 0u);
    EXPECT_EQ(record.replyPresent, 0u);
}

TEST_F(ReplyDecoding, WrongMagicOrTypeLeavesTheRecordAsItWas) {
    record.device.present = 0x55;
    const Bytes goodFields = ReplyFixture(AddpDiscoveryReply).Mac({1, 2, 3, 4, 5, 6}).Bytes();
    EXPECT_FALSE(Parse(ReplyFixture(AddpDiscoveryReply, 0x44494748).Mac({1, 2, 3, 4, 5, 6}).Bytes()));
    EXPECT_FALSE(Parse(goodFields, AddpNetworkReply));
    EXPECT_EQ(record.device.present, 0x55u);
    EXPECT_EQ(record.device.mac[0], 0);
}

TEST_F(ReplyDecoding, RefusesMalformedReplies) {
    struct Case {
        const char* name;
        Bytes datagram;
    } cases[] = {
        {"ip address of 3 bytes", ReplyFixture(2).Mac({1, 2, 3, 4, 5, 6}).Field(2, {10, 0, 0}).Bytes()},
        {"dhcp flag of 3 bytes", ReplyFixture(2).Field(16, {0, 0, 1}).Bytes()},
        {"mac of 5 bytes", ReplyFixture(2).Field(1, {1, 2, 3, 4, 5}).Bytes()},
        {"gateway of 5 bytes", ReplyFixture(2).Field(11, {1, 2, 3, 4, 5}).Bytes()},
        {"integer of 0 bytes", ReplyFixture(2).Field(6, {}).Bytes()},
        {"16-bit field of 3 bytes", ReplyFixture(2).Field(14, {0, 0, 1}).Bytes()},
        {"extension integer of 8 bytes", ReplyFixture(2).Field(225, {0, 0, 0, 0, 0, 0, 0, 1}).Bytes()},
        {"payload length past the datagram", ReplyFixture(2).Mac({1, 2, 3, 4, 5, 6}).DeclaredLength(9).Bytes()},
        {"header cut short", {'D', 'I', 'G', 'I', 0, 2, 0}},
        {"nothing at all", {}},
    };
    for (const Case& c : cases) {
        AddpResetReplyRecord(record);
        EXPECT_FALSE(Parse(c.datagram)) << c.name;
    }
}

TEST_F(ReplyDecoding, BadFieldStillLetsTheOthersBeWritten) {
    EXPECT_FALSE(Parse(ReplyFixture(2).Field(2, {10, 0, 0}).Mac({1, 2, 3, 4, 5, 6}).Bytes()));
    EXPECT_EQ(record.device.mac[5], 6);
}

TEST_F(ReplyDecoding, KeepsTheWholeFieldsBeforeAnUnfinishedLastOne) {
    const auto start = [] { return ReplyFixture(2).Mac({1, 2, 3, 4, 5, 6}).Text(4, "desk"); };
    struct Case {
        const char* name;
        Bytes datagram;
    } cases[] = {
        {"last value past the payload", start().Raw({5, 10, 'l', 'a'}).Bytes()},
        {"lone code byte", start().Raw({5}).Bytes()},
        {"code and length without the value", start().Raw({8, 3}).Bytes()},
        {"odd zero padding", start().Raw({0, 0, 0}).Bytes()},
        {"an address cut short at the end", start().Raw({2, 4, 10, 0}).Bytes()},
    };
    for (const Case& c : cases) {
        AddpResetReplyRecord(record);
        ASSERT_TRUE(Parse(c.datagram)) << c.name;
        EXPECT_EQ(record.device.present, AddpPresentMac | AddpPresentName) << c.name;
        EXPECT_EQ(record.device.mac[5], 6) << c.name;
        EXPECT_STREQ(record.device.name, "desk") << c.name;
        EXPECT_STREQ(record.device.domain, "") << c.name;
    }
}

TEST_F(ReplyDecoding, IgnoresBytesAfterTheDeclaredPayload) {
    const Bytes datagram = ReplyFixture(2).Mac({1, 2, 3, 4, 5, 6}).Raw({2, 3, 9, 9, 9}).DeclaredLength(8).Bytes();
    ASSERT_TRUE(Parse(datagram));
    EXPECT_EQ(record.device.present, AddpPresentMac);
}

TEST_F(ReplyDecoding, SkipsUnknownCodesByTheirLength) {
    ASSERT_TRUE(Parse(ReplyFixture(2).Field(0, {1, 2}).Field(19, {9}).Field(226, {}).Field(255, {1, 2, 3})
                          .Mac({1, 2, 3, 4, 5, 6}).Bytes()));
    EXPECT_EQ(record.device.present, AddpPresentMac);
}

TEST_F(ReplyDecoding, CutsTextAndByteFieldsToTheirRoom) {
    // A length byte allows at most 255 bytes of text: all of them stay, with the terminator after.
    const std::string longest(255, 'n');
    ASSERT_TRUE(Parse(ReplyFixture(2).Text(4, longest).Field(224, Bytes(40, 0xe0)).Field(229, {1, 2, 3, 4, 5})
                          .Bytes()));
    EXPECT_EQ(std::string(record.device.name), std::string(255, 'n'));
    EXPECT_EQ(record.device.ext224Length, 32);
    EXPECT_EQ(record.device.ext224[31], 0xe0);
    EXPECT_EQ(record.device.ext229Length, 5);
    EXPECT_EQ(record.device.ext229[4], 5);
    EXPECT_EQ(record.device.extPresent, AddpExt224 | AddpExt229);
    EXPECT_TRUE(record.device.present & AddpPresentExtension);
}

TEST_F(ReplyDecoding, TruncatesIntegersToTheirFieldWidth) {
    ASSERT_TRUE(Parse(ReplyFixture(2).Field(6, {0x12, 0x34, 0x56, 0x78}).Field(14, {0xab, 0xcd, 0xef, 0x01})
                          .Field(230, {0x7f}).Bytes()));
    EXPECT_EQ(record.device.hardwareType, 0x78);
    EXPECT_EQ(record.device.realPortPort, 0xef01);
    EXPECT_EQ(record.device.ext230, 0x7f);
    EXPECT_EQ(record.device.extPresent, AddpExt230);
}

TEST_F(ReplyDecoding, ConfigurationReplyFields) {
    ASSERT_TRUE(Parse(ReplyFixture(AddpNetworkReply).Mac({1, 2, 3, 4, 5, 6}).Field(10, {1}).Field(17, {5})
                          .Text(9, "Invalid password").Bytes(),
                      AddpNetworkReply));
    EXPECT_EQ(record.resultFlag, 1);
    EXPECT_EQ(record.errorCode, 5);
    EXPECT_STREQ(record.resultMessage, "Invalid password");
    EXPECT_EQ(record.replyPresent, AddpReplyResultFlag | AddpReplyErrorCode | AddpReplyResultMessage);
}

TEST_F(ReplyDecoding, ValueListKeepsDistinctValuesAcrossRepeats) {
    ASSERT_TRUE(Parse(ReplyFixture(2).Field(231, {0x00, 0x01, 0x00, 0x02, 0xff}).Field(231, {0x00, 0x02, 0x00, 0x03})
                          .Bytes()));
    EXPECT_EQ(record.valueList, (std::vector<std::uint16_t>{1, 2, 3}));
    AddpResetReplyRecord(record);
    EXPECT_TRUE(record.valueList.empty());
}

TEST_F(ReplyDecoding, ModelTableFillsNameAndPorts) {
    struct Case {
        const char* name;
        Bytes datagram;
        const char* modelName;
        bool hasPorts;
        std::uint8_t ports;
    } cases[] = {
        {"type 0", ReplyFixture(2).Field(6, {0}).Bytes(), "PortServer TS 2 MEI", true, 2},
        {"type 12, ports by name", ReplyFixture(2).Field(6, {12}).Bytes(), "PortServer TS 2", true, 2},
        {"type 16", ReplyFixture(2).Field(6, {16}).Bytes(), "Digi One EM", true, 1},
        {"named in the reply", ReplyFixture(2).Text(13, "PortServer TS 4 MEI").Bytes(), "PortServer TS 4 MEI", true, 4},
        {"this converter's module", ReplyFixture(2).Text(13, "Digi Connect ME").Bytes(), "Digi Connect ME", false, 0},
        {"name in the reply wins", ReplyFixture(2).Field(6, {1}).Text(13, "Digi Connect ME").Bytes(), "Digi Connect ME",
         false, 0},
        {"unknown type", ReplyFixture(2).Field(6, {17}).Bytes(), "", false, 0},
        {"ports in the reply win", ReplyFixture(2).Field(6, {3}).Field(18, {2}).Bytes(), "PortServer TS 32", true, 2},
        {"names compare case-sensitively", ReplyFixture(2).Text(13, "portserver ts 8").Bytes(), "portserver ts 8",
         false, 0},
    };
    for (const Case& c : cases) {
        AddpResetReplyRecord(record);
        ASSERT_TRUE(Parse(c.datagram)) << c.name;
        EXPECT_STREQ(record.device.modelName, c.modelName) << c.name;
        EXPECT_EQ((record.device.present & AddpPresentPortCount) != 0, c.hasPorts) << c.name;
        EXPECT_EQ(record.device.portCount, c.ports) << c.name;
    }
}

TEST(ReplyDecodingOtherMagic, DoesNotConsultTheModelTable) {
    AddpReplyRecord record;
    AddpInitReplyRecord(record);
    const Bytes datagram = ReplyFixture(2, 0x01020304).Field(6, {0}).Bytes();
    ASSERT_TRUE(AddpParseReply(0x01020304, 2, datagram, record));
    EXPECT_EQ(record.device.present, AddpPresentHardwareType);
    EXPECT_STREQ(record.device.modelName, "");
}

TEST(ModelTable, LookUpsTakeTheFirstMatchingRow) {
    char name[8] = "xxxxxxx";
    EXPECT_TRUE(AddpModelNameForType(0, name, sizeof name));
    EXPECT_STREQ(name, "PortSer");  // cut to the buffer, still terminated
    char untouched[4] = "abc";
    EXPECT_FALSE(AddpModelNameForType(200, untouched, sizeof untouched));
    EXPECT_STREQ(untouched, "abc");
    std::uint8_t ports = 0;
    EXPECT_TRUE(AddpPortCountForModel("PortServer TS 4", ports));
    EXPECT_EQ(ports, 4);
    EXPECT_FALSE(AddpPortCountForModel("PortServer TS", ports));
}

}  // namespace
