#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "engine/frames.h"
#include "engine/session.h"
#include "platform/time.h"
#include "tests/engine_net/lan_fixture.h"

namespace {

using namespace std::chrono_literals;
using lantest::Converter;
using lantest::Ip;
using lantest::StartSimulator;

// The request deadline is 7.5 s of program time; a hundred times faster here.
constexpr double kTimeScale = 0.01;

const std::uint8_t kMac[6] = {0x00, 0x40, 0x9d, 0x12, 0x34, 0x01};  // Converter(1)
const std::uint8_t kNobody[6] = {0x00, 0x40, 0x9d, 0x99, 0x99, 0x99};

std::vector<std::uint8_t> MacBytes() { return {kMac, kMac + 6}; }

struct Instance {
    Instance() { platform::SetTimeScale(kTimeScale); }
    ~Instance() { AddpClose(handle); }
    std::string StatusText() const {
        char text[256];
        return AddpGetLastErrorText(handle, text, sizeof text) == 0 ? text : "<refused>";
    }
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
};

std::vector<std::uint16_t> TypesOf(const std::vector<sim::ReceivedDatagram>& received) {
    std::vector<std::uint16_t> types;
    for (const auto& datagram : received)
        types.push_back(datagram.bytes.size() >= 6 ? static_cast<std::uint16_t>(datagram.bytes[4] << 8 | datagram.bytes[5]) : 0);
    return types;
}

class Requests : public lantest::NamespaceTest {};

TEST_F(Requests, OneAddressRebootSendsOnlyTheRequestItself) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)});
        Instance engine;
        EXPECT_EQ(AddpReboot(engine.handle, kMac, "dbps"), 0);
        const auto received = simulator->Received();
        ASSERT_EQ(received.size(), 1u);
        std::vector<std::uint8_t> expected{'D', 'I', 'G', 'I', 0, 5, 0, 11};
        const auto mac = MacBytes();
        expected.insert(expected.end(), mac.begin(), mac.end());
        expected.insert(expected.end(), {4, 'd', 'b', 'p', 's'});
        EXPECT_EQ(received[0].bytes, expected);
        EXPECT_EQ(received[0].sourceAddress, Ip("10.77.1.1"));
    }));
}

TEST_F(Requests, EmptyPasswordGoesOutAsLengthZeroAndTheModuleJudgesIt) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)});
        Instance engine;
        EXPECT_EQ(AddpReboot(engine.handle, kMac, ""), 1);  // refused by the module, not the engine
        EXPECT_EQ(AddpGetLastError(engine.handle), 1);
        EXPECT_EQ(engine.StatusText(), "Invalid password");
        const auto received = simulator->Received();
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].bytes.size(), 15u);
        EXPECT_EQ(received[0].bytes[7], 7);
        EXPECT_EQ(received[0].bytes.back(), 0);
    }));
}

TEST_F(Requests, TwoAddressesAskFirstThroughBothThenUseTheAnsweringInterface) {
    Interfaces({"10.77.1.1", "10.77.2.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1", "10.77.2.1"}, {Converter(1)}, {.onlyFrom = Ip("10.77.2.1")});
        Instance engine;
        EXPECT_EQ(AddpSetDhcp(engine.handle, kMac, 1, "dbps"), 0);
        const auto received = simulator->Received();
        ASSERT_EQ(received.size(), 3u);
        EXPECT_EQ(TypesOf(received), (std::vector<std::uint16_t>{1, 1, 7}));
        const auto query = AddpBuildDiscoveryRequest(kAddpMagicDigi, kMac);
        EXPECT_EQ(received[0].bytes, query);
        EXPECT_EQ(received[1].bytes, query);
        EXPECT_NE(received[0].sourceAddress, received[1].sourceAddress);
        EXPECT_EQ(received[2].sourceAddress, Ip("10.77.2.1"));
        EXPECT_TRUE(simulator->Description(0).dhcpEnabled);
    }));
}

TEST_F(Requests, TwoAddressesAndNoAnswerToTheQuerySendNoRequest) {
    Interfaces({"10.77.1.1", "10.77.2.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1", "10.77.2.1"}, {Converter(1)}, {.silent = true});
        Instance engine;
        EXPECT_EQ(AddpSetDhcp(engine.handle, kMac, 1, "dbps"), -1);
        EXPECT_EQ(TypesOf(simulator->Received()), (std::vector<std::uint16_t>{1, 1}));
        EXPECT_EQ(AddpGetLastError(engine.handle), 0);
        EXPECT_EQ(engine.StatusText(), "Operation Successful");
    }));
}

TEST_F(Requests, StaticSettingsAreAppliedAndTheConverterAnswersAtItsNewAddress) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)});
        Instance engine;
        AddpSetStatus(*engine.handle, 4, "earlier");
        EXPECT_EQ(AddpSetNetwork(engine.handle, kMac, Ip("10.77.1.77"), Ip("255.255.0.0"), Ip("10.77.1.1"), "dbps"), 0);
        EXPECT_EQ(AddpGetLastError(engine.handle), 0);
        EXPECT_EQ(engine.StatusText(), "Success");
        AddpDevice device{};
        ASSERT_EQ(AddpQueryDevice(engine.handle, kMac, &device), 0);
        EXPECT_EQ(device.ipAddress, Ip("10.77.1.77"));
        EXPECT_EQ(device.subnetMask, Ip("255.255.0.0"));
        EXPECT_EQ(device.localAddress, Ip("10.77.1.1"));
        EXPECT_STREQ(device.name, "bench-1");
    }));
}

TEST_F(Requests, TheConvertersOutcomeBecomesResultAndStatus) {
    Interfaces({"10.77.1.1"});
    struct Case {
        const char* name;
        sim::OutcomeMode mode;
        sim::ReplyOutcome forced;
        const char* password;
        int result;
        int code;
        const char* text;
    } cases[] = {
        {"no outcome fields", sim::OutcomeMode::Omitted, {}, "dbps", 0, 0, ""},
        {"refused with a code", sim::OutcomeMode::Forced, {1, 5, "Bad address"}, "dbps", 1, 5, "Bad address"},
        {"wrong password", sim::OutcomeMode::Judged, {}, "wrong", 1, 1, "Invalid password"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(host->RunTestInside([&] {
            auto module = Converter(1);
            module.outcomeMode = c.mode;
            module.forcedOutcome = c.forced;
            auto simulator = StartSimulator({"10.77.1.1"}, {module});
            Instance engine;
            EXPECT_EQ(AddpSetNetwork(engine.handle, kMac, Ip("10.77.1.60"), Ip("255.255.255.0"), 0, c.password),
                      c.result);
            EXPECT_EQ(AddpGetLastError(engine.handle), c.code);
            EXPECT_EQ(engine.StatusText(), c.text);
        })) << c.name;
    }
}

TEST_F(Requests, OtherTypesAndOtherMacsDuringAnExchangeAreIgnored) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        // The real answer comes late; two wrong ones reach the engine's socket before it.
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, {.delay = 3s});
        Instance engine;
        std::thread intruder([&] {
            ASSERT_TRUE(simulator->WaitForReceived(1, 2s));
            const auto request = simulator->Received()[0];
            const std::vector<std::uint8_t> otherMac{'D', 'I', 'G', 'I', 0, 4, 0, 11, 1, 6, 0x00, 0x40, 0x9d, 0x12, 0x34,
                                                     0x02, 10, 1, 0};
            const std::vector<std::uint8_t> discoveryReply{'D', 'I', 'G', 'I', 0, 2, 0, 8, 1, 6, 0x00, 0x40, 0x9d,
                                                           0x12, 0x34, 0x01};
            EXPECT_TRUE(simulator->SendRaw(discoveryReply, request.sourceAddress, request.sourcePort));
            EXPECT_TRUE(simulator->SendRaw(otherMac, request.sourceAddress, request.sourcePort));
        });
        EXPECT_EQ(AddpSetNetwork(engine.handle, kMac, Ip("10.77.1.60"), Ip("255.255.255.0"), 0, "dbps"), 0);
        intruder.join();
        EXPECT_EQ(engine.StatusText(), "Success");
        EXPECT_EQ(simulator->Description(0).ipAddress, Ip("10.77.1.60"));
    }));
}

TEST_F(Requests, NoAnswerBeforeTheDeadlineIsAFailureWithTheEngineStatus) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, {.silent = true});
        Instance engine;
        AddpDevice device{};
        device.hardwareType = 42;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(AddpQueryDevice(engine.handle, kNobody, &device), -1);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 75ms);  // the whole deadline was waited
        EXPECT_EQ(device.hardwareType, 42);
        EXPECT_EQ(AddpReboot(engine.handle, kMac, "dbps"), -1);
        EXPECT_EQ(AddpGetLastError(engine.handle), 0);
        EXPECT_EQ(engine.StatusText(), "Operation Successful");
    }));
}

TEST_F(Requests, SignalsDuringTheWaitAreNoMissingAnswer) {
    Interfaces({"10.77.1.1", "10.77.2.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        std::unique_ptr<sim::LanSimulator> simulator;
        {
            const lantest::AlarmBlocked notTheSimulator;
            // Each answer comes five cycles late, so both waits go through many signals.
            simulator = StartSimulator({"10.77.1.1", "10.77.2.1"}, {Converter(1)}, {.delay = 1s});
        }
        Instance engine;
        platform::SetTimeScale(0.1);  // a deadline far beyond the late answer, on a busy machine too
        const lantest::TimerSignals signals(500us);  // to this thread, the only one that takes them
        AddpDevice device{};
        EXPECT_EQ(AddpQueryDevice(engine.handle, kMac, &device), 0);
        EXPECT_STREQ(device.name, "bench-1");
        // Two interfaces: the query that chooses one, then the exchange on it.
        EXPECT_EQ(AddpSetDhcp(engine.handle, kMac, 1, "dbps"), 0);
        EXPECT_EQ(engine.StatusText(), "Success");
        EXPECT_GT(lantest::TimerSignals::Delivered(), 10);
    }));
}

TEST_F(Requests, EveryModuleMacIsRefusedAndNothingIsSent) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)});
        Instance engine;
        AddpDevice device{};
        EXPECT_EQ(AddpQueryDevice(engine.handle, kAddpEveryModule, &device), -1);
        EXPECT_EQ(AddpReboot(engine.handle, kAddpEveryModule, "dbps"), -1);
        EXPECT_EQ(AddpSetDhcp(engine.handle, kAddpEveryModule, 1, "dbps"), -1);
        std::this_thread::sleep_for(50ms);
        EXPECT_TRUE(simulator->Received().empty());
    }));
}

TEST_F(Requests, RequestsMayRunBesideADiscovery) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)});
        Instance engine;
        platform::MessageQueue window;
        ASSERT_EQ(AddpStartDiscovery(engine.handle, window.Handle(), lantest::kCollectMessage, 0), 0);
        AddpDevice device{};
        EXPECT_EQ(AddpQueryDevice(engine.handle, kMac, &device), 0);
        EXPECT_TRUE(window.Wait(2s).has_value());
        EXPECT_EQ(AddpGetDeviceCount(engine.handle), 1);  // the query's answer is not the run's
    }));
}

}  // namespace
