// The built tool against simulated converters: the tool runs in one network namespace (the
// technician's desk, whose host name maps to 127.0.1.1 as on a Debian desktop), the simulator in
// another (the LAN), joined by a veth pair.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/network_namespace.h"

namespace {

using namespace std::chrono_literals;
using testsupport::CommandResult;

constexpr const char* kCtl = TQ7CTL_PATH;
constexpr const char* kSim = TQ7SIM_PATH;
constexpr const char* kConfig = TQ7CONFIG_PATH;

constexpr const char* kDeskAddress = "10.77.1.1";
constexpr const char* kLanAddress = "10.77.1.2";

// Three converters that differ in every field the simulator can send. The first has a name that
// needs escaping, with a Latin-1 "é", the second leaves its model to the model table, the third
// sends its port count.
const std::string kBench =
    "mac=00:40:9d:00:00:01,ip=10.77.1.21,mask=255.255.255.0,gateway=10.77.1.254,dns=10.77.1.53,"
    "name=Bench \"A\" \\\\ caf\xe9\tend,domain=lab.test,firmware=82000856_F,hwtype=17,hwrev=3,"
    "realport=771,password=secret";
const std::string kShelf =
    "mac=00:40:9d:00:00:02,ip=10.77.1.22,mask=255.255.0.0,gateway=10.77.0.1,name=Shelf,model=,hwtype=0,"
    "hwrev=1,firmware=1.0,dhcp=1,realport=1027,password=secret";
const std::string kRack =
    "mac=00:40:9d:00:00:03,ip=10.77.1.23,mask=255.255.255.0,gateway=10.77.1.254,dns=10.77.1.53,name=Rack 3,"
    "domain=lab.test,model=TQ7 Box,ports=4,hwtype=5,hwrev=2,firmware=2.1,password=secret";

const std::string kBenchJson =
    R"({"localAddress":"10.77.1.1","present":8191,"mac":"00:40:9d:00:00:01","ipAddress":"10.77.1.21",)"
    R"("subnetMask":"255.255.255.0","gateway":"10.77.1.254","dnsAddress":"10.77.1.53","dhcpEnabled":0,)"
    R"("realPortPort":771,"name":"Bench \"A\" \\ caf\u00e9\tend","domain":"lab.test","hardwareType":17,)"
    R"("hardwareRevision":3,"firmware":"82000856_F","modelName":"Digi Connect ME","portCount":0,"advisory":0,)"
    R"("extPresent":0,"ext224Length":0,"ext224":"","ext225":0,"ext227":0,"ext228":0,"ext229Length":0,)"
    R"("ext229":"","ext230":0})";
const std::string kShelfJson =
    R"({"localAddress":"10.77.1.1","present":16383,"mac":"00:40:9d:00:00:02","ipAddress":"10.77.1.22",)"
    R"("subnetMask":"255.255.0.0","gateway":"10.77.0.1","dnsAddress":"0.0.0.0","dhcpEnabled":1,)"
    R"("realPortPort":1027,"name":"Shelf","domain":"","hardwareType":0,"hardwareRevision":1,"firmware":"1.0",)"
    R"("modelName":"PortServer TS 2 MEI","portCount":2,"advisory":0,"extPresent":0,"ext224Length":0,)"
    R"("ext224":"","ext225":0,"ext227":0,"ext228":0,"ext229Length":0,"ext229":"","ext230":0})";
const std::string kRackJson =
    R"({"localAddress":"10.77.1.1","present":16383,"mac":"00:40:9d:00:00:03","ipAddress":"10.77.1.23",)"
    R"("subnetMask":"255.255.255.0","gateway":"10.77.1.254","dnsAddress":"10.77.1.53","dhcpEnabled":0,)"
    R"("realPortPort":771,"name":"Rack 3","domain":"lab.test","hardwareType":5,"hardwareRevision":2,)"
    R"("firmware":"2.1","modelName":"TQ7 Box","portCount":4,"advisory":0,"extPresent":0,"ext224Length":0,)"
    R"("ext224":"","ext225":0,"ext227":0,"ext228":0,"ext229Length":0,"ext229":"","ext230":0})";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

// The line among `lines` that mentions the MAC; empty when none does.
std::string LineFor(const std::string& text, const std::string& mac) {
    for (const std::string& line : Lines(text))
        if (line.find(mac) != std::string::npos) return line;
    return {};
}

std::string Shown(const CommandResult& result) {
    return "exit " + std::to_string(result.exitCode) + "\nstdout:\n" + result.out + "stderr:\n" + result.err;
}

class Tq7ctlOnTheLan : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!testsupport::NamespacesAvailable(why)) GTEST_SKIP() << why;
        m_desk = std::make_unique<testsupport::NetworkNamespace>();
        m_lan = std::make_unique<testsupport::NetworkNamespace>();
        m_deskLink = m_desk->ConnectTo(*m_lan, std::string(kDeskAddress) + "/24", std::string(kLanAddress) + "/24");
    }
    void TearDown() override { m_simulator.reset(); }

    // Serves the modules from the LAN, on its end of the link unless the options say otherwise.
    void Serve(const std::vector<std::string>& modules,
               const std::vector<std::string>& options = {"--bind", kLanAddress}) {
        std::vector<std::string> argv{kSim};
        argv.insert(argv.end(), options.begin(), options.end());
        for (const std::string& module : modules) {
            argv.push_back("--module");
            argv.push_back(module);
        }
        m_simulator.emplace(m_lan->Spawn(argv));
        ASSERT_TRUE(m_simulator->WaitForLine("ready", 10s)) << m_simulator->Output();
    }

    // Runs the tool at the desk; `timeScale` empty runs it in real time. The tool inherits the
    // environment of this process.
    CommandResult Ctl(const std::vector<std::string>& args, const std::string& input = {},
                      const std::string& timeScale = {}) {
        return CtlOn(*m_desk, args, input, timeScale);
    }
    CommandResult CtlOn(testsupport::NetworkNamespace& host, const std::vector<std::string>& args,
                        const std::string& input = {}, const std::string& timeScale = {}) {
        if (timeScale.empty()) {
            unsetenv("TQ7_TIME_SCALE");
        } else {
            setenv("TQ7_TIME_SCALE", timeScale.c_str(), 1);
        }
        std::vector<std::string> argv{kCtl};
        argv.insert(argv.end(), args.begin(), args.end());
        CommandResult result = host.Exec(argv, input, 120s);
        unsetenv("TQ7_TIME_SCALE");
        return result;
    }

    std::unique_ptr<testsupport::NetworkNamespace> m_desk;
    std::unique_ptr<testsupport::NetworkNamespace> m_lan;
    std::string m_deskLink;
    std::optional<testsupport::BackgroundProcess> m_simulator;
};

TEST_F(Tq7ctlOnTheLan, DiscoverPrintsEveryConverterOnceWithEveryField) {
    ASSERT_NO_FATAL_FAILURE(Serve({kBench, kShelf, kRack}));

    const CommandResult json = Ctl({"discover", "--json", "--seconds", "1"});
    EXPECT_EQ(json.exitCode, 0) << Shown(json);
    EXPECT_EQ(Sorted(Lines(json.out)), Sorted({kBenchJson, kShelfJson, kRackJson})) << Shown(json);

    const CommandResult text = Ctl({"discover", "--seconds", "1"});
    EXPECT_EQ(text.exitCode, 0) << Shown(text);
    EXPECT_EQ(Sorted(Lines(text.out)),
              Sorted({"10.77.1.21\t00:40:9d:00:00:01\tBench \"A\" \\\\ caf\xc3\xa9\\x09end\tTQ7 Converter",
                      "10.77.1.22\t00:40:9d:00:00:02\tShelf\tPortServer TS 2 MEI",
                      "10.77.1.23\t00:40:9d:00:00:03\tRack 3\tTQ7 Box"}))
        << Shown(text);
}

TEST_F(Tq7ctlOnTheLan, DiscoverWithNobodyThereCompletesEmpty) {
    ASSERT_NO_FATAL_FAILURE(Serve({kBench + ",silent"}));
    const CommandResult result = Ctl({"discover", "--seconds", "1"});
    EXPECT_EQ(result.exitCode, 0) << Shown(result);
    EXPECT_EQ(result.out, "");
}

TEST_F(Tq7ctlOnTheLan, QueryPrintsTheOneConverterAsDiscoverDoes) {
    ASSERT_NO_FATAL_FAILURE(Serve({kBench, kShelf, kRack}));

    const CommandResult json = Ctl({"query", "00:40:9D:00:00:02", "--json"});
    EXPECT_EQ(json.exitCode, 0) << Shown(json);
    EXPECT_EQ(json.out, kShelfJson + "\n");

    const CommandResult text = Ctl({"query", "00-40-9d-00-00-01"});
    EXPECT_EQ(text.exitCode, 0) << Shown(text);
    EXPECT_EQ(text.out,
              "10.77.1.21\t00:40:9d:00:00:01\tBench \"A\" \\\\ caf\xc3\xa9\\x09end\tTQ7 Converter\n");

    const CommandResult nobody = Ctl({"query", "00:40:9d:00:00:09"}, {}, "0.01");
    EXPECT_EQ(nobody.exitCode, 3) << Shown(nobody);
    EXPECT_EQ(nobody.out, "");
    EXPECT_NE(nobody.err.find("no answer from 00:40:9d:00:00:09"), std::string::npos) << Shown(nobody);
}

TEST_F(Tq7ctlOnTheLan, SetNetworkMovesTheConverterToItsNewAddress) {
    ASSERT_NO_FATAL_FAILURE(Serve({kBench, kShelf, kRack}));

    const CommandResult set = Ctl({"set-network", "00:40:9d:00:00:02", "10.77.1.99", "255.255.255.128",
                                   "10.77.1.126", "--password-stdin"},
                                  "secret\n");
    EXPECT_EQ(set.exitCode, 0) << Shown(set);
    EXPECT_EQ(set.out,
              "00:40:9d:00:00:02 accepted the request: result flag 0, error code 0, message: Success\n");

    const CommandResult after = Ctl({"discover", "--json", "--seconds", "1"});
    const std::string shelf = LineFor(after.out, "00:40:9d:00:00:02");
    EXPECT_NE(
        shelf.find(R"("ipAddress":"10.77.1.99","subnetMask":"255.255.255.128","gateway":"10.77.1.126")"),
        std::string::npos)
        << Shown(after);
    EXPECT_NE(shelf.find(R"("dhcpEnabled":0)"), std::string::npos) << shelf;
    EXPECT_EQ(LineFor(after.out, "00:40:9d:00:00:01"), kBenchJson);
    EXPECT_EQ(LineFor(after.out, "00:40:9d:00:00:03"), kRackJson);
}

TEST_F(Tq7ctlOnTheLan, DhcpTurnsOnDhcpWithTheLongestPassword) {
    const std::string password(255, 'k');
    ASSERT_NO_FATAL_FAILURE(Serve({kRack + ",password=" + password}));

    const CommandResult dhcp = Ctl({"dhcp", "--password-stdin", "00:40:9d:00:00:03"}, password + "\r\n");
    EXPECT_EQ(dhcp.exitCode, 0) << Shown(dhcp);
    EXPECT_EQ(dhcp.out,
              "00:40:9d:00:00:03 accepted the request: result flag 0, error code 0, message: Success\n");

    const CommandResult query = Ctl({"query", "00:40:9d:00:00:03", "--json"});
    EXPECT_NE(query.out.find(R"("dhcpEnabled":1)"), std::string::npos) << Shown(query);
}

TEST_F(Tq7ctlOnTheLan, RebootWaitReportsWhenTheConverterAnswersAgain) {
    ASSERT_NO_FATAL_FAILURE(Serve({kBench}, {"--bind", kLanAddress, "--reboot-silence", "1"}));

    const CommandResult reboot =
        Ctl({"reboot", "00:40:9d:00:00:01", "--password-stdin", "--wait"}, "secret\n", "0.05");
    EXPECT_EQ(reboot.exitCode, 0) << Shown(reboot);
    const std::vector<std::string> lines = Lines(reboot.out);
    ASSERT_EQ(lines.size(), 3u) << Shown(reboot);
    EXPECT_EQ(lines[0],
              "00:40:9d:00:00:01 accepted the request: result flag 0, error code 0, message: Success");
    EXPECT_EQ(lines[1], "waiting for 00:40:9d:00:00:01 to answer again");
    // The converter is quiet for a second, so the first queries go unanswered.
    int queries = 0;
    char unit[16] = {};
    ASSERT_EQ(std::sscanf(lines[2].c_str(), "00:40:9d:00:00:01 answered again after %*f s (%d %15[a-z])",
                          &queries, unit),
              2)
        << lines[2];
    EXPECT_GT(queries, 1) << lines[2];
    EXPECT_LE(queries, 41) << lines[2];
}

TEST_F(Tq7ctlOnTheLan, RebootWaitTimesOutWhenTheConverterStaysQuiet) {
    ASSERT_NO_FATAL_FAILURE(Serve({kBench}, {"--bind", kLanAddress, "--reboot-silence", "3600"}));

    const CommandResult reboot =
        Ctl({"reboot", "00:40:9d:00:00:01", "--password-stdin", "--wait"}, "secret\n", "0.01");
    EXPECT_EQ(reboot.exitCode, 3) << Shown(reboot);
    EXPECT_NE(reboot.out.find("accepted the request"), std::string::npos) << Shown(reboot);
    EXPECT_EQ(reboot.out.find("answered again"), std::string::npos) << Shown(reboot);
    EXPECT_NE(reboot.err.find("timed out: 00:40:9d:00:00:01 did not answer 41 queries"), std::string::npos)
        << Shown(reboot);
}

TEST_F(Tq7ctlOnTheLan, ARefusalExitsOneWithTheConvertersCodeAndMessage) {
    ASSERT_NO_FATAL_FAILURE(
        Serve({kBench, kShelf + ",outcome=3:7:Locked by admin", kRack + ",outcome=omit"}));

    struct Case {
        std::vector<std::string> args;
        std::string password;
        int exit;
        std::string out;
    };
    const std::string bench = "00:40:9d:00:00:01", shelf = "00:40:9d:00:00:02", rack = "00:40:9d:00:00:03";
    const std::string invalid =
        " refused the request: result flag 1, error code 1, message: Invalid password\n";
    const std::string acceptedSilently = " accepted the request: result flag 0, error code 0, message: \n";
    const Case cases[] = {
        {{"set-network", bench, "10.77.1.77", "255.255.255.0", "10.77.1.254"}, "wrong", 1, bench + invalid},
        {{"dhcp", bench}, "Secret", 1, bench + invalid},
        // A refused reboot is not waited for.
        {{"reboot", bench, "--wait"}, "", 1, bench + invalid},
        {{"reboot", shelf},
         "secret",
         1,
         shelf + " refused the request: result flag 3, error code 7, message: Locked by admin\n"},
        // A reply without outcome fields is the converter's word too: flag 0 with an empty message.
        {{"dhcp", rack}, "secret", 0, rack + acceptedSilently},
        // Without --wait an accepted reboot is reported and left at that.
        {{"reboot", rack}, "secret", 0, rack + acceptedSilently},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--password-stdin");
        const CommandResult result = Ctl(args, c.password + "\n");
        EXPECT_EQ(result.exitCode, c.exit) << Shown(result);
        EXPECT_EQ(result.out, c.out) << Shown(result);
        EXPECT_EQ(result.err, "") << Shown(result);
    }

    // The refused change left the converter where it was.
    const CommandResult query = Ctl({"query", bench, "--json"});
    EXPECT_EQ(query.out, kBenchJson + "\n") << Shown(query);
}

TEST_F(Tq7ctlOnTheLan, NoAnswerExitsThreeAndIsNeverShownAsSuccess) {
    ASSERT_NO_FATAL_FAILURE(Serve({kBench + ",silent"}));

    const std::string bench = "00:40:9d:00:00:01";
    const std::vector<std::vector<std::string>> commands = {
        {"query", bench},
        {"set-network", bench, "10.77.1.77", "255.255.255.0", "10.77.1.254", "--password-stdin"},
        {"dhcp", bench, "--password-stdin"},
        {"reboot", bench, "--password-stdin", "--wait"},
    };
    for (const auto& args : commands) {
        const CommandResult result = Ctl(args, "secret\n", "0.01");
        EXPECT_EQ(result.exitCode, 3) << Shown(result);
        EXPECT_EQ(result.out, "") << Shown(result);
        EXPECT_EQ(result.err, "tq7ctl: no answer from " + bench + " before the deadline\n") << Shown(result);
    }

    // The engine sends nothing for the address of every converter; that is no answer either.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"query", "FF:FF:FF:FF:FF:FF"},
                                                 {"reboot", "ff-ff-ff-ff-ff-ff", "--password-stdin"}}) {
        const CommandResult result = Ctl(args, "secret\n");
        EXPECT_EQ(result.exitCode, 3) << Shown(result);
        EXPECT_EQ(result.out, "") << Shown(result);
        EXPECT_NE(result.err.find("ff:ff:ff:ff:ff:ff addresses every converter"), std::string::npos)
            << Shown(result);
    }
}

TEST_F(Tq7ctlOnTheLan, VerboseDiscoverNamesEachLinkAndTheConverterAnswersOnEach) {
    const std::string secondLink = m_desk->ConnectTo(*m_lan, "10.77.2.1/24", "10.77.2.2/24");
    ASSERT_NO_FATAL_FAILURE(Serve({kRack}, {"--bind", kLanAddress, "--bind", "10.77.2.2"}));

    const CommandResult result = Ctl({"discover", "--verbose", "--json", "--seconds", "1"});
    EXPECT_EQ(result.exitCode, 0) << Shown(result);
    EXPECT_EQ(result.err, "tq7ctl: searching through 10.77.1.1 (" + m_deskLink +
                              ")\ntq7ctl: searching through 10.77.2.1 (" + secondLink + ")\n");
    std::string viaSecond = kRackJson;
    viaSecond.replace(viaSecond.find("10.77.1.1"), 9, "10.77.2.1");
    EXPECT_EQ(Sorted(Lines(result.out)), Sorted({kRackJson, viaSecond})) << Shown(result);
}

TEST_F(Tq7ctlOnTheLan, AHostWithLoopbackOnlySearchesThereAndOneWithoutSaysSo) {
    testsupport::NetworkNamespace alone;
    testsupport::BackgroundProcess simulator = alone.Spawn({kSim, "--module", kShelf});
    ASSERT_TRUE(simulator.WaitForLine("ready", 10s)) << simulator.Output();
    const CommandResult found = CtlOn(alone, {"discover", "--verbose", "--seconds", "1"});
    EXPECT_EQ(found.exitCode, 0) << Shown(found);
    EXPECT_EQ(found.err, "tq7ctl: searching through 127.0.0.1 (lo)\n");
    EXPECT_EQ(found.out, "10.77.1.22\t00:40:9d:00:00:02\tShelf\tPortServer TS 2 MEI\n");

    alone.SetLink("lo", {"down"});
    for (const std::vector<std::string>& args : {std::vector<std::string>{"discover"}, {"discover", "--verbose"}}) {
        const CommandResult none = CtlOn(alone, args);
        EXPECT_EQ(none.exitCode, 4) << Shown(none);
        EXPECT_EQ(none.out, "");
        EXPECT_EQ(none.err, "tq7ctl: no local IPv4 interface is up to search through\n");
    }
}

// Without --bind the simulator is for this computer alone: only --loopback reaches it.
TEST_F(Tq7ctlOnTheLan, TheSimulatorStaysOnItsOwnComputerUnlessBound) {
    ASSERT_NO_FATAL_FAILURE(Serve({kShelf}, {}));
    const CommandResult fromTheDesk = Ctl({"discover", "--seconds", "1"});
    EXPECT_EQ(fromTheDesk.exitCode, 0) << Shown(fromTheDesk);
    EXPECT_EQ(fromTheDesk.out, "") << Shown(fromTheDesk);
    EXPECT_EQ(m_simulator->Output(), "module 00:40:9d:00:00:02 ip 10.77.1.22 mask 255.255.0.0 name \"Shelf\" model \"\"\n"
                                     "listening on port 2362, interfaces 127.0.0.1\nready\n");

    const CommandResult onItsComputer = CtlOn(*m_lan, {"query", "00:40:9d:00:00:02", "--loopback", "--json"});
    EXPECT_EQ(onItsComputer.exitCode, 0) << Shown(onItsComputer);
    std::string viaLoopback = kShelfJson;
    viaLoopback.replace(viaLoopback.find("10.77.1.1"), 9, "127.0.0.1");
    EXPECT_EQ(onItsComputer.out, viaLoopback + "\n");
}

// The program's demo converter, whose password its --help prints, is no converter of the LAN.
TEST_F(Tq7ctlOnTheLan, TheConverterOfTq7configSimulateAnswersItsOwnComputerOnly) {
    const std::string demo = "00:40:9d:54:51:37";
    char tmp[] = "/tmp/tq7-simulate-XXXXXX";
    ASSERT_NE(mkdtemp(tmp), nullptr);
    setenv("TMPDIR", tmp, 1);  // where it puts its simulated USB device, which SIGTERM leaves behind
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::optional<testsupport::BackgroundProcess> program(m_desk->Spawn({kConfig, "--simulate"}));
    unsetenv("TMPDIR");
    unsetenv("QT_QPA_PLATFORM");

    // It answers on its own computer's loopback once it has started.
    CommandResult local;
    const auto giveUp = std::chrono::steady_clock::now() + 30s;
    do {
        local = Ctl({"query", demo, "--loopback"}, {}, "0.05");
    } while (local.exitCode != 0 && std::chrono::steady_clock::now() < giveUp);
    EXPECT_EQ(local.exitCode, 0) << Shown(local);
    EXPECT_NE(local.out.find("TQ7-desk"), std::string::npos) << Shown(local);

    const CommandResult discover = CtlOn(*m_lan, {"discover", "--seconds", "1"});
    EXPECT_EQ(discover.exitCode, 0) << Shown(discover);
    EXPECT_EQ(discover.out, "") << Shown(discover);
    const CommandResult query = CtlOn(*m_lan, {"query", demo}, {}, "0.05");
    EXPECT_EQ(query.exitCode, 3) << Shown(query);

    program.reset();
    std::filesystem::remove_all(tmp);
}

TEST_F(Tq7ctlOnTheLan, UsageErrorsExitTwoAndNameTheBadArgument) {
    struct Case {
        std::vector<std::string> args;
        std::string input;
        std::string timeScale;
        std::string named;
    };
    const Case cases[] = {
        {{"reset"}, "", "", "unknown command 'reset'"},
        {{"query", "00:40:9d:00:00"}, "", "", "bad MAC address '00:40:9d:00:00'"},
        {{"set-network", "00:40:9d:00:00:01", "10.77.1.300", "255.255.255.0", "10.77.1.254"},
         "",
         "",
         "bad IP address '10.77.1.300'"},
        {{"discover", "--seconds", "-1"}, "", "", "--seconds '-1'"},
        {{"query", "00:40:9d:00:00:01", "--pasword-stdin"}, "", "", "'--pasword-stdin'"},
        // Standard input is a pipe here: without the flag there is nobody to ask.
        {{"dhcp", "00:40:9d:00:00:01"}, "secret\n", "", "standard input is not a terminal"},
        {{"dhcp", "00:40:9d:00:00:01", "--password-stdin"},
         std::string(256, 'k') + "\n",
         "",
         "longer than the 255 characters"},
        {{"dhcp", "00:40:9d:00:00:01", "--password-stdin"}, "", "", "standard input ended"},
        {{"query", "00:40:9d:00:00:01"}, "", "-1", "bad TQ7_TIME_SCALE '-1'"},
    };
    for (const Case& c : cases) {
        const CommandResult result = Ctl(c.args, c.input, c.timeScale);
        EXPECT_EQ(result.exitCode, 2) << Shown(result);
        EXPECT_EQ(result.out, "") << Shown(result);
        EXPECT_NE(result.err.find(c.named), std::string::npos) << Shown(result);
        EXPECT_NE(result.err.find("usage: tq7ctl"), std::string::npos) << Shown(result);
    }

    const CommandResult help = Ctl({"--help"});
    EXPECT_EQ(help.exitCode, 0) << Shown(help);
    EXPECT_NE(help.out.find("TQ7_TIME_SCALE"), std::string::npos);
}

}  // namespace
