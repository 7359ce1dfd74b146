#include "sim/lan_simulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <thread>

#include "platform/time.h"
#include "sim/replies.h"
#include "tests/sim/loopback.h"
#include "tests/support/network_namespace.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using simtest::Datagram;

constexpr std::uint8_t kMacA[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x0a};
constexpr std::uint8_t kMacB[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x0b};
constexpr std::uint8_t kMacNobody[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x0c};

sim::Mac AsMac(const std::uint8_t (&mac)[6]) {
    return {mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]};
}

sim::ModuleDescription Module(const std::uint8_t (&mac)[6], const char* name) {
    sim::ModuleDescription module;
    module.mac = AsMac(mac);
    module.ipAddress = *sim::ParseIpv4("10.0.0.5");
    module.subnetMask = *sim::ParseIpv4("255.255.255.0");
    module.gateway = *sim::ParseIpv4("10.0.0.1");
    module.name = name;
    module.modelName = "Digi Connect ME";
    module.password = "secret";
    return module;
}

std::string MacOf(const AddpReplyRecord& record) {
    sim::Mac mac{};
    std::memcpy(mac.data(), record.device.mac, 6);
    return sim::MacText(mac);
}

std::set<std::string> DiscoveredMacs(const std::vector<Datagram>& datagrams) {
    std::set<std::string> macs;
    for (const Datagram& datagram : datagrams) {
        const auto record = simtest::Decode(AddpDiscoveryReply, datagram.bytes);
        EXPECT_TRUE(record) << "a reply the engine refuses";
        if (record) macs.insert(MacOf(*record));
    }
    return macs;
}

class LanSimulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string problem; !testsupport::OnlyLoopbackReachable(problem))
            GTEST_SKIP() << problem;
        m_client.emplace();
    }
    void TearDown() override { platform::SetTimeScale(1.0); }

    // Loopback only, on a port of its own, so that tests running side by side never meet.
    sim::LanSimulator& Serve(const std::vector<sim::ModuleDescription>& modules,
                             const std::vector<sim::Faults>& faults = {},
                             std::chrono::nanoseconds rebootSilence = 10s) {
        m_lan = std::make_unique<sim::LanSimulator>(
            sim::LanSimulatorOptions{{*sim::ParseIpv4("127.0.0.1")}, 0, kAddpMagicDigi, rebootSilence});
        for (std::size_t i = 0; i < modules.size(); ++i)
            m_lan->AddModule(modules[i], i < faults.size() ? faults[i] : sim::Faults{});
        std::string error;
        EXPECT_TRUE(m_lan->Start(&error)) << error;
        return *m_lan;
    }

    void Send(const Bytes& request) { m_client->SendToGroup(request, m_lan->Port()); }

    // The expected number of datagrams, then whatever else follows shortly after.
    std::vector<Datagram> Collect(std::size_t expected) {
        std::vector<Datagram> datagrams;
        while (datagrams.size() < expected)
            if (auto datagram = m_client->Receive(2000ms))
                datagrams.push_back(std::move(*datagram));
            else
                break;
        for (auto& extra : m_client->ReceiveUntilQuiet(100ms)) datagrams.push_back(std::move(extra));
        return datagrams;
    }

    std::unique_ptr<sim::LanSimulator> m_lan;
    std::optional<simtest::LoopbackClient> m_client;
};

TEST_F(LanSimulatorTest, DiscoveryIsAnsweredByEveryModuleOrOnlyTheTarget) {
    Serve({Module(kMacA, "A"), Module(kMacB, "B")});
    const struct {
        const char* name;
        const std::uint8_t* target;
        std::set<std::string> macs;
    } cases[] = {
        {"every module", kAddpEveryModule, {"02:00:00:00:00:0a", "02:00:00:00:00:0b"}},
        {"module A", kMacA, {"02:00:00:00:00:0a"}},
        {"module B", kMacB, {"02:00:00:00:00:0b"}},
        {"a MAC nobody has", kMacNobody, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Send(AddpBuildDiscoveryRequest(kAddpMagicDigi, c.target));
        const auto replies = Collect(c.macs.size());
        EXPECT_EQ(replies.size(), c.macs.size());
        EXPECT_EQ(DiscoveredMacs(replies), c.macs);
    }
}

TEST_F(LanSimulatorTest, DiscoveryReplyDescribesTheModule) {
    sim::ModuleDescription module = Module(kMacA, "Desk");
    module.hardwareType = 12;
    module.firmware = "1.2";
    module.dhcpEnabled = true;
    module.realPortPort = 771;
    Serve({module});
    Send(AddpBuildDiscoveryRequest(kAddpMagicDigi, kMacA));
    const auto replies = Collect(1);
    ASSERT_EQ(replies.size(), 1u);
    // Byte for byte what the reply builder makes of the description.
    EXPECT_EQ(replies[0].bytes,
              sim::EncodeReply(kAddpMagicDigi, {AddpDiscoveryReply, sim::DiscoveryReplyFields(module)}));
}

TEST_F(LanSimulatorTest, ConfigurationRequestsAreJudgedAndAcceptedChangesApplied) {
    const std::uint32_t ip = *sim::ParseIpv4("10.1.2.3");
    const std::uint32_t mask = *sim::ParseIpv4("255.255.0.0");
    const std::uint32_t gateway = *sim::ParseIpv4("10.1.0.1");
    const Bytes staticRight = AddpBuildNetworkRequest(kAddpMagicDigi, kMacA, ip, mask, gateway, "secret");
    const Bytes staticWrong = AddpBuildNetworkRequest(kAddpMagicDigi, kMacA, ip, mask, gateway, "Secret");
    const auto applyStatic = [&](sim::ModuleDescription& module) {
        module.ipAddress = ip;
        module.subnetMask = mask;
        module.gateway = gateway;
        module.dhcpEnabled = false;
    };
    const auto applyDhcp = [](sim::ModuleDescription& module) { module.dhcpEnabled = true; };
    const auto unchanged = [](sim::ModuleDescription&) {};
    const sim::ReplyOutcome inUse{1, 5, "Address in use"};
    const sim::ReplyOutcome done{0, 0, "Done"};

    const struct {
        const char* name;
        bool dhcpBefore;
        sim::OutcomeMode mode;
        sim::ReplyOutcome forced;  // spelled out: for a bare {} GCC 12 at -O3 sees an uninitialised string
        Bytes request;
        std::uint16_t replyType;  // 0: no reply at all
        std::optional<sim::ReplyOutcome> outcome;
        std::function<void(sim::ModuleDescription&)> change;
    } cases[] = {
        {"static, right password",
         true,
         sim::OutcomeMode::Judged,
         sim::ReplyOutcome{},
         staticRight,
         4,
         sim::kAccepted,
         applyStatic},
        {"static, wrong password",
         true,
         sim::OutcomeMode::Judged,
         sim::ReplyOutcome{},
         staticWrong,
         4,
         sim::kWrongPassword,
         unchanged},
        {"DHCP, right password",
         false,
         sim::OutcomeMode::Judged,
         sim::ReplyOutcome{},
         AddpBuildDhcpRequest(kAddpMagicDigi, kMacA, 1, "secret"),
         8,
         sim::kAccepted,
         applyDhcp},
        {"DHCP, empty password",
         false,
         sim::OutcomeMode::Judged,
         sim::ReplyOutcome{},
         AddpBuildDhcpRequest(kAddpMagicDigi, kMacA, 1, ""),
         8,
         sim::kWrongPassword,
         unchanged},
        {"reboot, right password",
         false,
         sim::OutcomeMode::Judged,
         sim::ReplyOutcome{},
         AddpBuildRebootRequest(kAddpMagicDigi, kMacA, "secret"),
         6,
         sim::kAccepted,
         unchanged},
        {"reboot, wrong password",
         false,
         sim::OutcomeMode::Judged,
         sim::ReplyOutcome{},
         AddpBuildRebootRequest(kAddpMagicDigi, kMacA, "secret "),
         6,
         sim::kWrongPassword,
         unchanged},
        {"forced refusal, right password", true, sim::OutcomeMode::Forced, inUse, staticRight, 4, inUse,
         unchanged},
        {"forced success, wrong password", true, sim::OutcomeMode::Forced, done, staticWrong, 4, done,
         applyStatic},
        {"outcome omitted, right password",
         true,
         sim::OutcomeMode::Omitted,
         sim::ReplyOutcome{},
         staticRight,
         4,
         std::nullopt,
         applyStatic},
        {"outcome omitted, wrong password",
         true,
         sim::OutcomeMode::Omitted,
         sim::ReplyOutcome{},
         staticWrong,
         4,
         std::nullopt,
         unchanged},
        {"static for another MAC",
         true,
         sim::OutcomeMode::Judged,
         sim::ReplyOutcome{},
         AddpBuildNetworkRequest(kAddpMagicDigi, kMacB, ip, mask, gateway, "secret"),
         0,
         std::nullopt,
         unchanged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::ModuleDescription module = Module(kMacA, "A");
        module.dhcpEnabled = c.dhcpBefore;
        module.outcomeMode = c.mode;
        module.forcedOutcome = c.forced;
        sim::LanSimulator& lan = Serve({module});
        Send(c.request);
        const auto replies = Collect(c.replyType == 0 ? 0 : 1);
        sim::ModuleDescription expected = module;
        c.change(expected);
        EXPECT_EQ(lan.Description(0), expected);
        if (c.replyType == 0) {
            EXPECT_TRUE(replies.empty());
            continue;
        }
        ASSERT_EQ(replies.size(), 1u);
        const auto record = simtest::Decode(c.replyType, replies[0].bytes);
        ASSERT_TRUE(record);
        EXPECT_EQ(MacOf(*record), "02:00:00:00:00:0a");
        if (c.outcome) {
            EXPECT_EQ(record->replyPresent,
                      AddpReplyResultFlag | AddpReplyErrorCode | AddpReplyResultMessage);
            EXPECT_EQ((sim::ReplyOutcome{record->resultFlag, record->errorCode, record->resultMessage}),
                      *c.outcome);
        } else {
            EXPECT_EQ(record->replyPresent, 0u);
        }
    }
}

TEST_F(LanSimulatorTest, RebootedModuleIsQuietForTheSilenceThenAnswersAgain) {
    platform::SetTimeScale(0.01);
    const auto silence = platform::Scaled(30s);  // 300 ms
    Serve({Module(kMacA, "A"), Module(kMacB, "B")}, {}, 30s);

    // A refused reboot leaves the module talking.
    Send(AddpBuildRebootRequest(kAddpMagicDigi, kMacA, "wrong"));
    ASSERT_EQ(Collect(1).size(), 1u);
    Send(AddpBuildDiscoveryRequest(kAddpMagicDigi, kMacA));
    ASSERT_EQ(Collect(1).size(), 1u);

    Send(AddpBuildRebootRequest(kAddpMagicDigi, kMacA, "secret"));
    const auto rebootSent = std::chrono::steady_clock::now();
    const auto reboot = Collect(1);
    ASSERT_EQ(reboot.size(), 1u);
    const auto accepted = simtest::Decode(AddpRebootReply, reboot[0].bytes);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->resultFlag, 0);

    // Only the other module answers while A restarts.
    Send(AddpBuildDiscoveryRequest(kAddpMagicDigi, kAddpEveryModule));
    EXPECT_EQ(DiscoveredMacs(Collect(1)), std::set<std::string>{"02:00:00:00:00:0b"});

    std::optional<Datagram> answer;
    while (!answer && std::chrono::steady_clock::now() - rebootSent < 5s) {
        Send(AddpBuildDiscoveryRequest(kAddpMagicDigi, kMacA));
        answer = m_client->Receive(20ms);
    }
    ASSERT_TRUE(answer) << "the module never answered again";
    EXPECT_GE(std::chrono::steady_clock::now() - rebootSent, silence);
    EXPECT_EQ(DiscoveredMacs({*answer}), std::set<std::string>{"02:00:00:00:00:0a"});
}

TEST_F(LanSimulatorTest, EachFaultShapesTheAnswer) {
    platform::SetTimeScale(0.01);
    const auto refused = [](std::uint16_t type) {
        return [type](const Datagram& d) { EXPECT_FALSE(simtest::Decode(type, d.bytes)); };
    };
    const auto good = [](const Datagram& d) { EXPECT_TRUE(simtest::Decode(AddpDiscoveryReply, d.bytes)); };
    const struct {
        const char* name;
        sim::Faults faults;
        std::size_t datagrams;
        std::function<void(const std::vector<Datagram>&)> check;
    } cases[] = {
        {"silent", {.silent = true}, 0, [](const auto&) {}},
        {"delayed",
         {.delay = 10s},
         1,
         [&](const auto& d) {
             EXPECT_GE(d[0].after, platform::Scaled(10s));
             good(d[0]);
         }},
        {"duplicated",
         {.copies = 3},
         3,
         [&](const auto& d) {
             good(d[0]);
             EXPECT_EQ(d[1].bytes, d[0].bytes);
             EXPECT_EQ(d[2].bytes, d[0].bytes);
         }},
        {"wrong type",
         {.replyType = AddpNetworkReply},
         1,
         [&](const auto& d) {
             refused(AddpDiscoveryReply)(d[0]);
             EXPECT_TRUE(simtest::Decode(AddpNetworkReply, d[0].bytes));
         }},
        {"wrong magic",
         {.magic = 0x41424344},
         1,
         [&](const auto& d) {
             refused(AddpDiscoveryReply)(d[0]);
             AddpReplyRecord record;
             AddpInitReplyRecord(record);
             EXPECT_TRUE(AddpParseReply(0x41424344, AddpDiscoveryReply, d[0].bytes, record));
         }},
        {"IP field of 3 bytes",
         {.badFieldLength = true},
         1,
         [&](const auto& d) {
             refused(AddpDiscoveryReply)(d[0]);
             ASSERT_GT(d[0].bytes.size(), 17u);
             EXPECT_EQ(d[0].bytes[16], AddpFieldIpAddress);  // right after the MAC field
             EXPECT_EQ(d[0].bytes[17], 3);
         }},
        {"stray datagram ahead",
         {.strayAhead = true},
         2,
         [&](const auto& d) {
             EXPECT_EQ(d[0].bytes, AddpBuildDiscoveryRequest(kAddpMagicDigi, kAddpEveryModule));
             good(d[1]);
         }},
        {"payload past the end",
         {.payloadPastEnd = true},
         1,
         [&](const auto& d) {
             refused(AddpDiscoveryReply)(d[0]);
             const std::size_t declared = d[0].bytes[6] << 8 | d[0].bytes[7];
             EXPECT_EQ(declared, d[0].bytes.size() - kAddpHeaderSize + 16);
         }},
        {"another MAC",
         {.answerAsMac = AsMac(kMacNobody)},
         1,
         [&](const auto& d) { EXPECT_EQ(DiscoveredMacs(d), std::set<std::string>{"02:00:00:00:00:0c"}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::LanSimulator& lan = Serve({Module(kMacA, "A")}, {c.faults});
        Send(AddpBuildDiscoveryRequest(kAddpMagicDigi, kAddpEveryModule));
        ASSERT_TRUE(lan.WaitForReceived(1, 2000ms));
        const auto datagrams = Collect(c.datagrams);
        ASSERT_EQ(datagrams.size(), c.datagrams);
        c.check(datagrams);
    }
}

TEST_F(LanSimulatorTest, FaultsShapeConfigurationRepliesButNotWhatTheModuleDoes) {
    sim::LanSimulator& lan = Serve({Module(kMacA, "A")}, {{.copies = 2, .badFieldLength = true}});
    Send(AddpBuildDhcpRequest(kAddpMagicDigi, kMacA, 1, "secret"));
    const auto replies = Collect(2);
    ASSERT_EQ(replies.size(), 2u);
    for (const Datagram& reply : replies) {
        EXPECT_FALSE(simtest::Decode(AddpDhcpReply, reply.bytes));
        ASSERT_GT(reply.bytes.size(), 17u);
        EXPECT_EQ(reply.bytes[16], AddpFieldIpAddress);
        EXPECT_EQ(reply.bytes[17], 3);
    }
    EXPECT_TRUE(lan.Description(0).dhcpEnabled);
}

TEST_F(LanSimulatorTest, ModuleBoundToOneSourceIgnoresRequestsFromAnother) {
    simtest::LoopbackClient other("127.0.0.2");
    sim::LanSimulator& lan = Serve({Module(kMacA, "A")}, {{.onlyFrom = other.Address()}});
    const Bytes request = AddpBuildDiscoveryRequest(kAddpMagicDigi, kAddpEveryModule);

    Send(request);
    ASSERT_TRUE(lan.WaitForReceived(1, 2000ms));
    EXPECT_TRUE(m_client->ReceiveUntilQuiet(100ms).empty());

    other.SendToGroup(request, lan.Port());
    const auto reply = other.Receive(2000ms);
    ASSERT_TRUE(reply);
    EXPECT_EQ(DiscoveredMacs({*reply}), std::set<std::string>{"02:00:00:00:00:0a"});
}

TEST_F(LanSimulatorTest, LogHoldsEveryDatagramWithSourceAndArrival) {
    sim::LanSimulator& lan = Serve({Module(kMacA, "A")});
    const Bytes sent[] = {
        AddpBuildDiscoveryRequest(kAddpMagicDigi, kMacA),
        {'h', 'e', 'l', 'l', 'o'},
        AddpBuildRebootRequest(kAddpMagicDigi, kMacNobody, "pw"),
    };
    const auto before = platform::Clock::now();
    for (const Bytes& datagram : sent) Send(datagram);
    ASSERT_TRUE(lan.WaitForReceived(3, 2000ms));
    const auto after = platform::Clock::now();

    const auto log = lan.Received();
    ASSERT_EQ(log.size(), 3u);
    for (std::size_t i = 0; i < log.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].bytes, sent[i]);
        EXPECT_EQ(log[i].sourceAddress, m_client->Address());
        EXPECT_EQ(log[i].sourcePort, m_client->Port());
        EXPECT_GE(log[i].arrival, before);
        EXPECT_LE(log[i].arrival, after);
        if (i > 0) {
            EXPECT_GE(log[i].arrival, log[i - 1].arrival);
        }
    }
    // Only the discovery request was for a module.
    EXPECT_EQ(Collect(1).size(), 1u);

    lan.ClearReceived();
    EXPECT_TRUE(lan.Received().empty());
}

TEST_F(LanSimulatorTest, SendRawDeliversBytesAsTheyAre) {
    sim::LanSimulator& lan = Serve({});
    const Bytes handMade{'D', 'I', 'G', 'I', 0x00, 0x02, 0x00, 0x03, 0x02, 0x01, 0x00};
    ASSERT_TRUE(lan.SendRaw(handMade, m_client->Address(), m_client->Port()));
    const auto received = m_client->Receive(2000ms);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->bytes, handMade);

    lan.Stop();
    EXPECT_FALSE(lan.SendRaw(handMade, m_client->Address(), m_client->Port()));
}

TEST_F(LanSimulatorTest, StartStaysOnLoopbackUnlessToldRefusesWhatItCannotServeAndRestarts) {
    // A documentation address that is on no interface of this host cannot join.
    sim::LanSimulator elsewhere({{*sim::ParseIpv4("198.51.100.7")}, 0});
    std::string error;
    EXPECT_FALSE(elsewhere.Start(&error));
    EXPECT_NE(error.find("198.51.100.7"), std::string::npos) << error;
    EXPECT_FALSE(elsewhere.Running());

    // Told no interface, it stays on this computer.
    sim::LanSimulator home({{}, 0});
    ASSERT_TRUE(home.Start(&error)) << error;
    EXPECT_EQ(home.JoinedInterfaces(), std::vector<std::uint32_t>{*sim::ParseIpv4("127.0.0.1")});
    home.Stop();

    sim::LanSimulator& lan = Serve({Module(kMacA, "A")});
    EXPECT_FALSE(lan.Start(&error));
    EXPECT_NE(error.find("already"), std::string::npos) << error;
    EXPECT_EQ(lan.JoinedInterfaces(), std::vector<std::uint32_t>{*sim::ParseIpv4("127.0.0.1")});

    lan.Stop();
    EXPECT_FALSE(lan.Running());
    ASSERT_TRUE(lan.Start(&error)) << error;
    Send(AddpBuildDiscoveryRequest(kAddpMagicDigi, kMacA));
    EXPECT_EQ(Collect(1).size(), 1u);
}

TEST_F(LanSimulatorTest, AccessorsAreSafeWhileTheWorkerAnswers) {
    sim::LanSimulator& lan = Serve({Module(kMacA, "before")});
    constexpr int kRequests = 30;
    std::atomic<bool> done{false};
    std::atomic<bool> renamed{false};
    std::jthread reader([&] {
        while (!done) {
            sim::ModuleDescription module = lan.Description(0);
            if (!renamed && lan.Received().size() >= kRequests / 2) {
                module.name = "after";
                lan.SetDescription(0, module);
                lan.SetFaults(0, {});
                lan.AddModule(Module(kMacB, "B"));
                renamed = true;
            }
        }
    });
    const struct Finish {
        std::atomic<bool>& done;
        ~Finish() { done = true; }
    } finish{done};

    std::vector<std::string> names;
    for (int i = 0; i < kRequests; ++i) {
        if (i == kRequests / 2)
            while (!renamed) std::this_thread::yield();
        Send(AddpBuildDiscoveryRequest(kAddpMagicDigi, kMacA));
        const auto reply = m_client->Receive(2000ms);
        ASSERT_TRUE(reply);
        const auto record = simtest::Decode(AddpDiscoveryReply, reply->bytes);
        ASSERT_TRUE(record);
        names.push_back(record->device.name);
    }
    std::vector<std::string> expected(kRequests / 2, "before");
    expected.resize(kRequests, "after");
    EXPECT_EQ(names, expected);
    EXPECT_EQ(lan.ModuleCount(), 2u);
}

}  // namespace
