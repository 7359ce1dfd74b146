#include "tools/tq7ctl/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/addp.h"

namespace tq7ctl {
namespace {

ParsedCommandLine Parse(const std::vector<std::string_view>& args) {
    return ParseCommandLine(args);
}

std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t octets[4] = {a, b, c, d};
    std::uint32_t address;
    std::memcpy(&address, octets, 4);
    return address;
}

const Mac kMac{0x00, 0x40, 0x9d, 0x01, 0x02, 0x03};

TEST(CommandLine, ReadsEachCommandWithItsOperandsAndOptions) {
    struct Case {
        std::vector<std::string_view> args;
        Invocation expected;
    };
    auto with = [](auto change) {
        Invocation invocation;
        change(invocation);
        return invocation;
    };
    const Case cases[] = {
        {{"help"}, Invocation{}},
        {{"--help"}, Invocation{}},
        {{"-h"}, Invocation{}},
        {{"query", "--help"}, Invocation{}},
        {{"--version"}, with([](Invocation& i) { i.command = Command::Version; })},
        {{"discover"}, with([](Invocation& i) { i.command = Command::Discover; })},
        {{"discover", "--seconds", "7", "--json"}, with([](Invocation& i) {
             i.command = Command::Discover;
             i.seconds = 7;
             i.json = true;
         })},
        {{"discover", "--json", "--seconds=12"}, with([](Invocation& i) {
             i.command = Command::Discover;
             i.seconds = 12;
             i.json = true;
         })},
        {{"discover", "--verbose", "--loopback"}, with([](Invocation& i) {
             i.command = Command::Discover;
             i.verbose = true;
             i.loopback = true;
         })},
        {{"query", "00:40:9D:01:02:03"}, with([](Invocation& i) {
             i.command = Command::Query;
             i.mac = kMac;
         })},
        {{"query", "--json", "00-40-9d-01-02-03"}, with([](Invocation& i) {
             i.command = Command::Query;
             i.mac = kMac;
             i.json = true;
         })},
        {{"set-network", "00:40:9d:01:02:03", "10.0.0.7", "255.255.0.0", "10.0.0.1", "--password-stdin"},
         with([](Invocation& i) {
             i.command = Command::SetNetwork;
             i.mac = kMac;
             i.ipAddress = Address(10, 0, 0, 7);
             i.subnetMask = Address(255, 255, 0, 0);
             i.gateway = Address(10, 0, 0, 1);
             i.passwordStdin = true;
         })},
        {{"dhcp", "00:40:9d:01:02:03"}, with([](Invocation& i) {
             i.command = Command::Dhcp;
             i.mac = kMac;
         })},
        {{"reboot", "--wait", "00:40:9d:01:02:03", "--password-stdin", "--loopback"}, with([](Invocation& i) {
             i.command = Command::Reboot;
             i.mac = kMac;
             i.wait = true;
             i.passwordStdin = true;
             i.loopback = true;
         })},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = Parse(c.args);
        const std::string shown = ::testing::PrintToString(c.args);
        ASSERT_TRUE(parsed.invocation) << shown << ": " << parsed.error;
        const Invocation& got = *parsed.invocation;
        EXPECT_EQ(got.command, c.expected.command) << shown;
        EXPECT_EQ(got.seconds, c.expected.seconds) << shown;
        EXPECT_EQ(got.json, c.expected.json) << shown;
        EXPECT_EQ(got.passwordStdin, c.expected.passwordStdin) << shown;
        EXPECT_EQ(got.wait, c.expected.wait) << shown;
        EXPECT_EQ(got.verbose, c.expected.verbose) << shown;
        EXPECT_EQ(got.loopback, c.expected.loopback) << shown;
        EXPECT_EQ(got.mac, c.expected.mac) << shown;
        EXPECT_EQ(got.ipAddress, c.expected.ipAddress) << shown;
        EXPECT_EQ(got.subnetMask, c.expected.subnetMask) << shown;
        EXPECT_EQ(got.gateway, c.expected.gateway) << shown;
    }
}

TEST(CommandLine, RefusesWhatItCannotReadAndNamesTheBadArgument) {
    struct Case {
        std::vector<std::string_view> args;
        std::string_view named;  // must appear in the error
    };
    const Case cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "'frobnicate'"},
        {{"Discover"}, "'Discover'"},
        {{"discover", "--seconds"}, "--seconds needs a value"},
        {{"discover", "--seconds", "0"}, "--seconds '0'"},
        {{"discover", "--seconds", "-2"}, "--seconds '-2'"},
        {{"discover", "--seconds=3.5"}, "--seconds '3.5'"},
        {{"discover", "--secondsx"}, "'--secondsx'"},
        {{"discover", "--password-stdin"}, "'--password-stdin'"},
        {{"discover", "extra"}, "'extra'"},
        {{"query"}, "needs MAC"},
        {{"query", "00:40:9d:01:02"}, "bad MAC address '00:40:9d:01:02'"},
        {{"query", "00:40:9d:01:02:03", "00:40:9d:01:02:04"}, "'00:40:9d:01:02:04'"},
        {{"query", "00:40:9d:01:02:03", "--wait"}, "'--wait'"},
        {{"query", "00:40:9d:01:02:03", "--verbose"}, "'--verbose'"},
        {{"query", "00:40:9d:01:02:03", "--password", "secret"}, "'--password'"},
        {{"set-network", "00:40:9d:01:02:03", "10.0.0.7", "255.255.0.0"}, "needs GATEWAY"},
        {{"set-network", "00:40:9d:01:02:03", "10.0.0.256", "255.255.0.0", "10.0.0.1"},
         "IP address '10.0.0.256'"},
        {{"set-network", "00:40:9d:01:02:03", "10.0.0.7", "255.255.0", "10.0.0.1"},
         "subnet mask '255.255.0'"},
        {{"set-network", "00:40:9d:01:02:03", "10.0.0.7", "255.255.0.0", "gw"}, "gateway 'gw'"},
        {{"set-network", "xx", "10.0.0.7", "255.255.0.0", "10.0.0.1"}, "MAC address 'xx'"},
        {{"dhcp", "00:40:9d:01:02:03", "--json"}, "'--json'"},
        {{"reboot", "00:40:9d:01:02:03", "--wait=1"}, "'--wait=1'"},
        {{"reboot", "-", "--wait"}, "MAC address '-'"},
        {{"query", "00:40:9d:01:02:03", "--version"}, "'--version'"},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = Parse(c.args);
        const std::string shown = ::testing::PrintToString(c.args);
        EXPECT_FALSE(parsed.invocation) << shown;
        EXPECT_NE(parsed.error.find(c.named), std::string::npos) << shown << " gave: " << parsed.error;
    }
}

TEST(CommandLine, HelpNamesEveryCommandAndTheTimeScale) {
    const std::string records = "at most " + std::to_string(kAddpMaxRunRecords) + " answers";
    for (std::string_view word : std::initializer_list<std::string_view>{"discover", "query", "set-network", "dhcp", "reboot", "--password-stdin",
                                  "--wait", "--seconds", "--json", "--verbose", "--loopback", "Latin-1",
                                  "TQ7_TIME_SCALE", std::string_view(records)})
        EXPECT_NE(HelpText().find(word), std::string_view::npos) << word;
}

}  // namespace
}  // namespace tq7ctl
