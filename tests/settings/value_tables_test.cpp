#include "settings/value_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/ftdi.h"

namespace {

using settings::kBaudRates;
using settings::kDhcpModes;
using settings::kDhcpReadValues;
using settings::kEthernetSpeeds;
using settings::kLineModes;
using settings::kSerialProfiles;

// The rows as the converter and the file format need them, written out independently of the
// header so that a slip in either shows.
struct ProfileRow {
    const char* text;
    const char* read;
    const char* sent;
    const char* file;
};

const ProfileRow kExpectedProfiles[] = {
    {"Console Management", "console_management", "console_management", "Console management"},
    {"Industrial Automation", "ia", "ia", "Industrial automation"},
    {"Modem Emulation", "modem_emulation", "modem_emulation", "Modem emulation"},
    {"RealPort", "realport", "realport", "RealPort"},
    {"TCP Sockets", "tcp_sockets", "tcp_sockets", "TCP Sockets"},
    {"Serial Brigde", "tunneling", "tunneling", "Serial Bridge"},
    {"UDP Sockets", "udp_socket", "udp_sockets", "UDP Sockets"},
    {"Custom", "custom", "custom", "Custom"},
    {"Local configuration", "local_config", "local_config", "Local configuration"},
    {"PPP Server", "ppp", "ppp", "PP Server"},
};

TEST(SerialProfiles, EveryRowHasItsFourTexts) {
    ASSERT_EQ(kSerialProfiles.size(), std::size(kExpectedProfiles));
    for (std::size_t i = 0; i < kSerialProfiles.size(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        EXPECT_EQ(kSerialProfiles[i].text, kExpectedProfiles[i].text);
        EXPECT_EQ(kSerialProfiles[i].readKeyword, kExpectedProfiles[i].read);
        EXPECT_EQ(kSerialProfiles[i].sentKeyword, kExpectedProfiles[i].sent);
        EXPECT_EQ(kSerialProfiles[i].fileText, kExpectedProfiles[i].file);
    }
    EXPECT_EQ(settings::kDefaultSerialProfilePosition, 8);
    EXPECT_EQ(kSerialProfiles[settings::kDefaultSerialProfilePosition].text, "Local configuration");
}

TEST(SerialProfiles, ColumnsDifferOnlyWhereTheConverterOrTheFileWantsIt) {
    for (std::size_t i = 0; i < kSerialProfiles.size(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        const auto& row = kSerialProfiles[i];
        // Only UDP Sockets is read under another name than it is sent.
        EXPECT_EQ(row.readKeyword == row.sentKeyword, i != 6);
        // The longest "set profile profile=" line, keyword and LF, is 39 bytes.
        EXPECT_LE(std::string_view("set profile profile=").size() + row.sentKeyword.size() + 1, 39u);
        const bool sameText = row.text == row.fileText;
        const bool sameIgnoringCase =
            std::equal(row.text.begin(), row.text.end(), row.fileText.begin(), row.fileText.end(),
                       [](char a, char b) { return std::tolower(a) == std::tolower(b); });
        if (i <= 2) {
            EXPECT_FALSE(sameText);
            EXPECT_TRUE(sameIgnoringCase);
        } else if (i == 5 || i == 9) {
            EXPECT_FALSE(sameIgnoringCase);
        } else {
            EXPECT_TRUE(sameText);
        }
    }
    EXPECT_EQ(kSerialProfiles[0].sentKeyword.size() + 21, 39u);
}

TEST(SerialProfiles, KeywordsReadAreUniqueSoTableOrderNeverHidesARow) {
    std::vector<std::string_view> read;
    for (const auto& row : kSerialProfiles) read.push_back(row.readKeyword);
    std::sort(read.begin(), read.end());
    EXPECT_EQ(std::adjacent_find(read.begin(), read.end()), read.end());
}

TEST(BaudRates, TenRatesFrom300To115200WithTheirTexts) {
    const std::uint32_t expected[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    ASSERT_EQ(kBaudRates.size(), std::size(expected));
    for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
        EXPECT_EQ(kBaudRates[i].rate, expected[i]);
        EXPECT_EQ(kBaudRates[i].text, std::to_string(expected[i]) + " bit/s");
    }
    EXPECT_EQ(kBaudRates[settings::kDefaultBaudRatePosition].text, "9600 bit/s");
}

TEST(LineModes, EachModeCarriesTheDriverCodesOfItsFraming) {
    struct Row {
        const char* text;
        std::uint8_t stopBits;
        std::uint8_t parity;
    };
    const Row expected[] = {
        {"8N2", platform::kFtdiStopBits2, platform::kFtdiParityNone},
        {"8N1", platform::kFtdiStopBits1, platform::kFtdiParityNone},
        {"8E1", platform::kFtdiStopBits1, platform::kFtdiParityEven},
        {"8O1", platform::kFtdiStopBits1, platform::kFtdiParityOdd},
    };
    ASSERT_EQ(kLineModes.size(), std::size(expected));
    for (std::size_t i = 0; i < kLineModes.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(kLineModes[i].text, expected[i].text);
        EXPECT_EQ(kLineModes[i].wordLength, platform::kFtdiWordLength8);
        EXPECT_EQ(kLineModes[i].stopBits, expected[i].stopBits);
        EXPECT_EQ(kLineModes[i].parity, expected[i].parity);
    }
    // The driver codes themselves, as the link passes them on.
    EXPECT_EQ(kLineModes[0].stopBits, 2);
    EXPECT_EQ(kLineModes[2].parity, 2);
    EXPECT_EQ(kLineModes[3].parity, 1);
    EXPECT_EQ(kLineModes[settings::kDefaultLineModePosition].text, "8N1");
}

TEST(Dhcp, PositionsSendOppositeStaticAndDhcpValues) {
    ASSERT_EQ(kDhcpModes.size(), 2u);
    EXPECT_EQ(kDhcpModes[settings::kDhcpOn].text, "On");
    EXPECT_EQ(kDhcpModes[settings::kDhcpOn].dhcpSent, "on");
    EXPECT_EQ(kDhcpModes[settings::kDhcpOn].staticSent, "off");
    EXPECT_EQ(kDhcpModes[settings::kDhcpOff].text, "Off");
    EXPECT_EQ(kDhcpModes[settings::kDhcpOff].dhcpSent, "off");
    EXPECT_EQ(kDhcpModes[settings::kDhcpOff].staticSent, "on");
    EXPECT_EQ(settings::kDefaultDhcpPosition, settings::kNoPosition);
    EXPECT_EQ(settings::kNoPosition, -1);
}

TEST(Dhcp, ReadValuesSelectTheirPositionAndNothingElseIsAccepted) {
    struct Row {
        const char* value;
        int position;
    };
    const Row expected[] = {{"on", 0}, {"supplied", 0}, {"off", 1}};
    ASSERT_EQ(kDhcpReadValues.size(), std::size(expected));
    for (std::size_t i = 0; i < kDhcpReadValues.size(); ++i) {
        EXPECT_EQ(kDhcpReadValues[i].value, expected[i].value);
        EXPECT_EQ(kDhcpReadValues[i].position, expected[i].position);
    }
    for (const auto& read : kDhcpReadValues) EXPECT_NE(read.value, "Off");  // case matters
}

TEST(EthernetSpeeds, EveryRowHasItsTexts) {
    struct Row {
        const char* text;
        const char* read;
        const char* sent;
    };
    const Row expected[] = {
        {"auto", "auto)", "auto"}, {"10 Mbit/s", "10)", "10"}, {"100 Mbit/s", "100)", "100"}};
    ASSERT_EQ(kEthernetSpeeds.size(), std::size(expected));
    for (std::size_t i = 0; i < kEthernetSpeeds.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(kEthernetSpeeds[i].text, expected[i].text);
        EXPECT_EQ(kEthernetSpeeds[i].readKeyword, expected[i].read);
        EXPECT_EQ(kEthernetSpeeds[i].sentKeyword, expected[i].sent);
        EXPECT_EQ(kEthernetSpeeds[i].fileText, expected[i].text);
        // Read keywords lose their spaces before they are compared, so none may hold one.
        EXPECT_EQ(kEthernetSpeeds[i].readKeyword.find(' '), std::string_view::npos);
    }
    EXPECT_EQ(kEthernetSpeeds[settings::kDefaultEthernetSpeedPosition].text, "auto");
}

TEST(ColumnAt, GivesTheEntryAtAPositionOrNothing) {
    using settings::kSerialProfiles;
    using settings::SerialProfileEntry;
    EXPECT_EQ(settings::ColumnAt(kSerialProfiles, &SerialProfileEntry::sentKeyword, 6), "udp_sockets");
    EXPECT_EQ(settings::ColumnAt(kSerialProfiles, &SerialProfileEntry::sentKeyword, 9), "ppp");
    for (const int outside : {settings::kNoPosition, 10, -7})
        EXPECT_EQ(settings::ColumnAt(kSerialProfiles, &SerialProfileEntry::sentKeyword, outside), "") << outside;
    EXPECT_EQ(settings::ColumnAt(settings::kDhcpModes, &settings::DhcpEntry::staticSent, settings::kDhcpOff), "on");
}

}  // namespace
