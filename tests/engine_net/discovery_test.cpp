#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "engine/frames.h"
#include "platform/time.h"
#include "tests/engine_net/lan_fixture.h"

namespace {

using namespace std::chrono_literals;
using lantest::Converter;
using lantest::Ip;
using lantest::kCollectMessage;
using lantest::StartSimulator;

// A discovery poll cycle is 200 ms of program time; the tests run twenty times faster.
constexpr double kTimeScale = 0.05;
constexpr auto kCycle = 10ms;

const std::vector<std::uint8_t> kEveryModuleRequest = {'D', 'I', 'G', 'I', 0, 1, 0, 6, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

// One engine instance with a window to notify, as the main window holds it.
struct Finder {
    Finder() { platform::SetTimeScale(kTimeScale); }
    ~Finder() { AddpClose(handle); }

    int Start(std::uint32_t value = 0) { return AddpStartDiscovery(handle, window.Handle(), kCollectMessage, value); }

    // Collects what arrives until `count` records came or the timeout passed.
    std::vector<AddpDevice> CollectUntil(std::size_t count, std::chrono::milliseconds timeout = 3s) {
        std::vector<AddpDevice> devices;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (devices.size() < count && std::chrono::steady_clock::now() < deadline) {
            const auto message = window.Wait(50ms);
            if (!message) continue;
            EXPECT_EQ(message->message, kCollectMessage);
            ++notifications;
            AddpDevice device;
            while (AddpGetDeviceCount(handle) > 0 && AddpGetDevices(handle, &device, 1) == 1) devices.push_back(device);
        }
        return devices;
    }

    platform::MessageQueue window;
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    int notifications = 0;
};

class Discovery : public lantest::NamespaceTest {};

TEST_F(Discovery, OneInterfaceCollectsEveryModuleWithItsDescription) {
    Addresses({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1), Converter(2, "10.77.1.51")});
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        const auto devices = finder.CollectUntil(2);
        ASSERT_EQ(devices.size(), 2u);
        const AddpDevice& first = devices[0].mac[5] == 1 ? devices[0] : devices[1];
        EXPECT_EQ(first.localAddress, Ip("10.77.1.1"));
        EXPECT_EQ(first.ipAddress, Ip("10.77.1.50"));
        EXPECT_EQ(first.subnetMask, Ip("255.255.255.0"));
        EXPECT_EQ(first.gateway, Ip("10.77.1.254"));
        EXPECT_EQ(first.dnsAddress, Ip("10.77.1.253"));
        EXPECT_STREQ(first.name, "bench-1");
        EXPECT_STREQ(first.domain, "lab");
        EXPECT_STREQ(first.modelName, "Digi Connect ME");
        EXPECT_STREQ(first.firmware, "82000856_F");
        EXPECT_EQ(first.hardwareType, 0x10);
        EXPECT_EQ(first.realPortPort, 771);
        EXPECT_FALSE(first.present & AddpPresentPortCount);  // this model is not in the table

        const auto received = simulator->Received();
        ASSERT_EQ(received.size(), 1u);  // sent once, never repeated
        EXPECT_EQ(received[0].bytes, kEveryModuleRequest);
        EXPECT_EQ(received[0].sourceAddress, Ip("10.77.1.1"));
    }));
}

TEST_F(Discovery, TwoInterfacesCollectEachModuleTwice) {
    Addresses({"10.77.1.1", "10.77.2.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1", "10.77.2.1"}, {Converter(1)});
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        const auto devices = finder.CollectUntil(2);
        ASSERT_EQ(devices.size(), 2u);
        EXPECT_EQ(0, std::memcmp(devices[0].mac, devices[1].mac, 6));
        EXPECT_NE(devices[0].localAddress, devices[1].localAddress);
        for (const AddpDevice& device : devices)
            EXPECT_TRUE(device.localAddress == Ip("10.77.1.1") || device.localAddress == Ip("10.77.2.1"));
        EXPECT_EQ(simulator->Received().size(), 2u);
    }));
}

TEST_F(Discovery, DuplicatedRepliesAreNotMerged) {
    Addresses({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        sim::Faults twice;
        twice.copies = 2;
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, twice);
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        EXPECT_EQ(finder.CollectUntil(2).size(), 2u);
    }));
}

// Cases where the run starts yet sends nothing and never notifies.
TEST_F(Discovery, UnusableHostAddressesSendNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> resolved;  // empty: the host name has an IPv6 address only
    } cases[] = {
        {"no IPv4 address", {}},
        {"the second of three cannot be bound", {"10.77.1.1", "10.77.9.9", "10.77.2.1"}},
    };
    host->AddInterface("10.77.1.1/24");
    host->AddInterface("10.77.2.1/24");
    for (const Case& c : cases) {
        if (c.resolved.empty())
            host->SetHostAddressIpv6Only();
        else
            host->SetHostAddresses(c.resolved);
        EXPECT_TRUE(host->RunTestInside([] {
            auto simulator = StartSimulator({"10.77.1.1", "10.77.2.1"}, {Converter(1)});
            Finder finder;
            ASSERT_EQ(finder.Start(), 0);
            std::this_thread::sleep_for(20 * kCycle);
            EXPECT_TRUE(simulator->Received().empty());
            EXPECT_EQ(finder.window.Count(), 0u);
            EXPECT_EQ(finder.Start(), -1);  // still marked running though its worker has ended
            AddpStopDiscovery(finder.handle);
            EXPECT_EQ(finder.Start(), 0);
        })) << c.name;
    }
}

TEST_F(Discovery, BadRepliesAreDroppedAndNeverNotified) {
    Addresses({"10.77.1.1"});
    struct Case {
        const char* name;
        sim::Faults faults;
    } cases[] = {
        {"wrong type", {.replyType = AddpNetworkReply}},
        {"wrong magic", {.magic = 0x44494748}},
        {"field of bad length", {.badFieldLength = true}},
        {"payload length past the end", {.payloadPastEnd = true}},
        {"silent", {.silent = true}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(host->RunTestInside([&] {
            auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, c.faults);
            Finder finder;
            ASSERT_EQ(finder.Start(), 0);
            ASSERT_TRUE(simulator->WaitForReceived(1, 1s));
            std::this_thread::sleep_for(20 * kCycle);
            EXPECT_EQ(AddpGetDeviceCount(finder.handle), 0);
            EXPECT_EQ(finder.window.Count(), 0u);
        })) << c.name;
    }
}

TEST_F(Discovery, StrayDatagramAheadOfAGoodReplyDelaysItOneCycle) {
    Addresses({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, {.strayAhead = true});
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        const auto devices = finder.CollectUntil(1);
        ASSERT_EQ(devices.size(), 1u);
        EXPECT_EQ(devices[0].mac[5], 1);
    }));
}

TEST_F(Discovery, NotifiesOnlyAfterCyclesWithRecordsWaiting) {
    Addresses({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        // The answer comes ten cycles late: no notification may come before it.
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, {.delay = 2s});
        Finder finder;
        ASSERT_EQ(finder.Start(77), 0);
        std::this_thread::sleep_for(5 * kCycle);
        EXPECT_EQ(finder.window.Count(), 0u);

        const auto message = finder.window.Wait(3s);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->message, kCollectMessage);
        EXPECT_EQ(message->first, 0u);
        EXPECT_EQ(message->second, 77);
        AddpDevice device;
        EXPECT_EQ(AddpGetDevices(finder.handle, &device, 1), 1);

        std::this_thread::sleep_for(20 * kCycle);
        EXPECT_EQ(finder.window.Count(), 0u);  // idle cycles stay silent
    }));
}

TEST_F(Discovery, RestartIsRefusedWhileRunningAndDropsUncollectedRecords) {
    Addresses({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)});
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        ASSERT_TRUE(finder.window.Wait(3s).has_value());
        EXPECT_EQ(finder.Start(), -1);
        AddpStopDiscovery(finder.handle);
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 1);  // stopping keeps what was collected

        simulator->SetFaults(0, {.silent = true});
        ASSERT_EQ(finder.Start(), 0);
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 0);
        EXPECT_TRUE(simulator->WaitForReceived(2, 1s));  // the new run asked afresh
    }));
}

TEST_F(Discovery, StartStopAndCloseRacesStayClean) {
    Addresses({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1), Converter(2), Converter(3)});
        for (int round = 0; round < 30; ++round) {
            auto finder = std::make_unique<Finder>();
            ASSERT_EQ(finder->Start(), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(round % 7));
            if (round % 3 == 0) {
                AddpClose(finder->handle);  // closing stops the run and releases what was queued
                finder->handle = nullptr;
            } else {
                AddpStopDiscovery(finder->handle);
            }
        }
        // A window that went away while the run went on is skipped, not posted to.
        Finder finder;
        auto window = std::make_unique<platform::MessageQueue>();
        ASSERT_EQ(AddpStartDiscovery(finder.handle, window->Handle(), kCollectMessage, 0), 0);
        window.reset();
        std::this_thread::sleep_for(10 * kCycle);
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 3);
    }));
}

TEST(DiscoveryOnLoopback, CollectsTheSimulatedModule) {
    std::string why;
    if (!testsupport::HostResolvesOnlyToLoopback(why)) GTEST_SKIP() << why;
    platform::SetTimeScale(kTimeScale);
    auto simulator = StartSimulator({}, {Converter(9)});
    {
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        const auto devices = finder.CollectUntil(1);
        ASSERT_GE(devices.size(), 1u);
        EXPECT_STREQ(devices[0].name, "bench-9");
    }
    platform::SetTimeScale(1.0);
}

}  // namespace
