#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <thread>

#include "engine/discovery.h"
#include "engine/frames.h"
#include "engine/sockets.h"
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
    Interfaces({"10.77.1.1"});
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

// The host as a user's machine is: its name maps to 127.0.1.1 (or to nothing), and the
// converters sit beyond its links.
TEST_F(Discovery, FindsTheModuleBeyondEachLinkWhateverTheHostNameResolvesTo) {
    const std::vector<std::string> hostNames[] = {{"127.0.1.1"}, {}};
    testsupport::NetworkNamespace lan;
    host->ConnectTo(lan, "10.77.1.1/24", "10.77.1.2/24");
    for (const auto& resolved : hostNames) {
        host->SetHostAddresses(resolved);
        EXPECT_TRUE(host->RunTestInside([&] {
            auto simulator = lantest::StartSimulatorIn(lan, {"10.77.1.2"}, {Converter(1)});
            Finder finder;
            ASSERT_EQ(finder.Start(), 0);
            const auto devices = finder.CollectUntil(1);
            ASSERT_EQ(devices.size(), 1u);
            EXPECT_EQ(devices[0].localAddress, Ip("10.77.1.1"));
            EXPECT_STREQ(devices[0].name, "bench-1");
            ASSERT_EQ(simulator->Received().size(), 1u);
            EXPECT_EQ(simulator->Received()[0].sourceAddress, Ip("10.77.1.1"));
        })) << (resolved.empty() ? "a host name that does not resolve" : resolved[0]);
    }
}

TEST_F(Discovery, TwoLinksCollectEachModuleOncePerLink) {
    testsupport::NetworkNamespace lan;
    host->ConnectTo(lan, "10.77.1.1/24", "10.77.1.2/24");
    host->ConnectTo(lan, "10.77.2.1/24", "10.77.2.2/24");
    EXPECT_TRUE(host->RunTestInside([&] {
        auto simulator = lantest::StartSimulatorIn(lan, {"10.77.1.2", "10.77.2.2"}, {Converter(1)});
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        const auto devices = finder.CollectUntil(2);
        ASSERT_EQ(devices.size(), 2u);
        EXPECT_EQ(0, std::memcmp(devices[0].mac, devices[1].mac, 6));
        std::vector<std::uint32_t> through{devices[0].localAddress, devices[1].localAddress};
        std::sort(through.begin(), through.end());
        std::vector<std::uint32_t> links{Ip("10.77.1.1"), Ip("10.77.2.1")};
        std::sort(links.begin(), links.end());
        EXPECT_EQ(through, links);
        EXPECT_EQ(simulator->Received().size(), 2u);
    }));
}

TEST_F(Discovery, ALoopbackOnlyHostFindsTheModuleOnLoopback) {
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({}, {Converter(1)});
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        const auto devices = finder.CollectUntil(1);
        ASSERT_EQ(devices.size(), 1u);
        EXPECT_EQ(devices[0].localAddress, Ip("127.0.0.1"));
    }));
}

// The interfaces as the system lists them, by the name it gives them.
TEST_F(Discovery, ListsTheInterfacesOfTheHostItRunsOn) {
    using Listed = std::vector<std::pair<std::string, std::uint32_t>>;
    const auto listed = [] {
        AddpInterface interfaces[kAddpMaxInterfaces];
        const int count = AddpGetLocalInterfaces(interfaces, kAddpMaxInterfaces);
        Listed out;
        for (int i = 0; i < count; ++i) out.emplace_back(interfaces[i].name, interfaces[i].address);
        return out;
    };
    EXPECT_TRUE(host->RunTestInside([&] { EXPECT_EQ(listed(), (Listed{{"lo", Ip("127.0.0.1")}})); }));

    const std::string first = host->AddInterface("10.77.1.1/24");
    const std::string second = host->AddInterface("10.77.2.1/24");
    EXPECT_TRUE(host->RunTestInside([&] {
        EXPECT_EQ(listed(), (Listed{{first, Ip("10.77.1.1")}, {second, Ip("10.77.2.1")}}));
        AddpUseLoopbackOnly(true);
        EXPECT_EQ(listed(), (Listed{{"lo", Ip("127.0.0.1")}}));
        AddpUseLoopbackOnly(false);
    }));

    host->SetLink(first, {"multicast", "off"});
    host->SetLink(second, {"down"});
    host->SetLink("lo", {"down"});
    EXPECT_TRUE(host->RunTestInside([&] { EXPECT_EQ(listed(), Listed{}); }));
}

TEST_F(Discovery, DuplicatedRepliesAreNotMerged) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        sim::Faults twice;
        twice.copies = 2;
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, twice);
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        EXPECT_EQ(finder.CollectUntil(2).size(), 2u);
    }));
}

// A host whose only link cannot multicast, and whose loopback is down: the run starts yet sends
// nothing and never notifies.
TEST_F(Discovery, NoUsableInterfaceSendsNothing) {
    testsupport::NetworkNamespace lan;
    const std::string link = host->ConnectTo(lan, "10.77.1.1/24", "10.77.1.2/24");
    host->SetLink(link, {"multicast", "off"});
    host->SetLink("lo", {"down"});
    EXPECT_TRUE(host->RunTestInside([&] {
        auto simulator = lantest::StartSimulatorIn(lan, {"10.77.1.2"}, {Converter(1)});
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        std::this_thread::sleep_for(20 * kCycle);
        EXPECT_TRUE(simulator->Received().empty());
        EXPECT_EQ(finder.window.Count(), 0u);
        EXPECT_EQ(finder.Start(), -1);  // still marked running though its worker has ended
        AddpStopDiscovery(finder.handle);
        EXPECT_EQ(finder.Start(), 0);
    }));
}

// All or none: when one address cannot be bound, the sockets already open are closed again.
TEST_F(Discovery, OneAddressThatCannotBeBoundOpensNoSocketAtAll) {
    Interfaces({"10.77.1.1", "10.77.2.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        Finder finder;
        const auto openDescriptors = [] {
            return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
        };
        const auto before = openDescriptors();
        std::vector<int> sockets{99};
        const std::uint32_t three[] = {Ip("10.77.1.1"), Ip("10.77.9.9"), Ip("10.77.2.1")};
        EXPECT_FALSE(AddpOpenSockets(*finder.handle, three, sockets));
        EXPECT_TRUE(sockets.empty());
        EXPECT_EQ(openDescriptors(), before);

        const std::uint32_t two[] = {Ip("10.77.1.1"), Ip("10.77.2.1")};
        EXPECT_TRUE(AddpOpenSockets(*finder.handle, two, sockets));
        EXPECT_EQ(sockets.size(), 2u);
        AddpCloseSockets(sockets);
        EXPECT_FALSE(AddpOpenSockets(*finder.handle, {}, sockets));
    }));
}

TEST_F(Discovery, BadRepliesAreDroppedAndNeverNotified) {
    Interfaces({"10.77.1.1"});
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
    Interfaces({"10.77.1.1"});
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
    Interfaces({"10.77.1.1"});
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
    Interfaces({"10.77.1.1"});
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
    Interfaces({"10.77.1.1"});
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

TEST_F(Discovery, SignalsDuringTheRunNeitherEndItNorLoseAReply) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        std::unique_ptr<sim::LanSimulator> simulator;
        {
            const lantest::AlarmBlocked notTheSimulator;
            // The answer comes five cycles late, so the worker waits through many signals first.
            simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, {.delay = 1s});
        }
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);  // its worker is the one thread left to take the signals
        const lantest::AlarmBlocked notThisThread;
        const lantest::TimerSignals signals(500us);
        const auto devices = finder.CollectUntil(1);
        EXPECT_GT(lantest::TimerSignals::Delivered(), 10);
        ASSERT_EQ(devices.size(), 1u);
        EXPECT_STREQ(devices[0].name, "bench-1");
    }));
}

// Replies a module may send that are odd but harmless: each is listed with its whole fields.
TEST_F(Discovery, OddButHarmlessRepliesAreListed) {
    Interfaces({"10.77.1.1"});
    const std::vector<std::uint8_t> fields = {1, 6, 0x00, 0x40, 0x9d, 0x12, 0x34, 0x07, 4, 3, 'o', 'd', 'd'};
    const auto reply = [&](std::vector<std::uint8_t> tail, std::size_t padding) {
        std::vector<std::uint8_t> payload = fields;
        payload.insert(payload.end(), tail.begin(), tail.end());
        const std::uint8_t header[] = {'D', 'I', 'G', 'I', 0, 2, 0, static_cast<std::uint8_t>(payload.size())};
        // Sized once and copied into: GCC 12 at -O3 misreads the growing inserts as overflows.
        std::vector<std::uint8_t> datagram(sizeof header + payload.size() + padding, 0);
        const auto afterHeader = std::copy(std::begin(header), std::end(header), datagram.begin());
        std::copy(payload.begin(), payload.end(), afterHeader);
        return datagram;
    };
    const std::vector<std::vector<std::uint8_t>> odd = {
        reply({}, 32),                 // padded after the payload
        reply({5, 9, 'l', 'a', 'b'}, 0),  // the last field runs past the payload
        reply({8}, 0),                 // a lone code byte at the end
        reply({0, 0, 0}, 5),           // odd zero padding inside the payload, and after it
    };
    EXPECT_TRUE(host->RunTestInside([&] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, {.silent = true});
        Finder finder;
        ASSERT_EQ(finder.Start(), 0);
        ASSERT_TRUE(simulator->WaitForReceived(1, 1s));
        const auto request = simulator->Received()[0];
        for (const auto& datagram : odd)
            ASSERT_TRUE(simulator->SendRaw(datagram, request.sourceAddress, request.sourcePort));
        const auto devices = finder.CollectUntil(odd.size());
        ASSERT_EQ(devices.size(), odd.size());
        for (const AddpDevice& device : devices) {
            EXPECT_EQ(device.mac[5], 0x07);
            EXPECT_STREQ(device.name, "odd");
            EXPECT_EQ(device.present, AddpPresentMac | AddpPresentName);
        }
    }));
}

// A cycle takes at most its share from a socket, however many datagrams wait there, and past the
// run's limit the replies are counted instead of kept.
TEST_F(Discovery, ACycleReadsAtMostItsShareAndTheRunKeepsAtMostItsLimit) {
    EXPECT_TRUE(host->RunTestInside([] {
        Finder finder;
        std::vector<int> sockets;
        const std::uint32_t loopback[] = {Ip("127.0.0.1")};
        ASSERT_TRUE(AddpOpenSockets(*finder.handle, loopback, sockets));
        sockaddr_in own{};
        socklen_t length = sizeof own;
        ASSERT_EQ(getsockname(sockets[0], reinterpret_cast<sockaddr*>(&own), &length), 0);
        const int sender = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const std::vector<std::uint8_t> reply = {'D', 'I', 'G', 'I', 0, 2, 0, 8, 1, 6, 0, 0x40, 0x9d, 0, 0, 1};
        const auto send = [&](int count) {
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(sendto(sender, reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&own),
                                 sizeof own),
                          static_cast<ssize_t>(reply.size()));
        };
        const auto later = platform::Clock::now() + 1h;
        AddpSession& session = *finder.handle;

        send(300);
        AddpReadReplies(session, sockets[0], later);
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 256);
        AddpReadReplies(session, sockets[0], later);
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 300);

        send(3);  // a cycle whose time is up still takes one
        AddpReadReplies(session, sockets[0], platform::Clock::now());
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 301);
        AddpReadReplies(session, sockets[0], later);
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 303);

        session.recordLimit = 305;
        send(10);
        AddpReadReplies(session, sockets[0], later);
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 305);
        EXPECT_EQ(AddpGetDroppedCount(finder.handle), 8);
        close(sender);
        AddpCloseSockets(sockets);
    }));
}

// A module (or anybody) flooding the run: the stop still comes within a cycle, and the run keeps
// no more than its limit.
TEST_F(Discovery, AFloodNeitherHoldsTheStopNorGrowsTheQueuePastTheLimit) {
    Interfaces({"10.77.1.1"});
    EXPECT_TRUE(host->RunTestInside([] {
        auto simulator = StartSimulator({"10.77.1.1"}, {Converter(1)}, {.silent = true});
        Finder finder;
        finder.handle->recordLimit = 50;
        ASSERT_EQ(finder.Start(), 0);
        ASSERT_TRUE(simulator->WaitForReceived(1, 1s));
        const auto request = simulator->Received()[0];
        const std::vector<std::uint8_t> reply = {'D', 'I', 'G', 'I', 0, 2, 0, 8, 1, 6, 0, 0x40, 0x9d, 0, 0, 1};
        std::atomic<bool> flooding{true};
        std::atomic<int> sent{0};
        std::thread flood([&] {
            while (flooding)
                if (simulator->SendRaw(reply, request.sourceAddress, request.sourcePort)) ++sent;
        });
        const auto giveUp = std::chrono::steady_clock::now() + 10s;
        while (AddpGetDroppedCount(finder.handle) < 1000 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        AddpStopDiscovery(finder.handle);  // returns while the flood goes on
        const int droppedAtStop = AddpGetDroppedCount(finder.handle);
        std::this_thread::sleep_for(5 * kCycle);
        flooding = false;
        flood.join();
        EXPECT_GE(droppedAtStop, 1000);
        EXPECT_EQ(AddpGetDeviceCount(finder.handle), 50);
        EXPECT_EQ(AddpGetDroppedCount(finder.handle), droppedAtStop);  // nothing is read after the stop
        EXPECT_LE(50 + droppedAtStop, sent.load());
    }));
}

TEST(DiscoveryOnLoopback, CollectsTheSimulatedModule) {
    std::string why;
    if (!testsupport::OnlyLoopbackReachable(why)) GTEST_SKIP() << why;
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
