// The real engine against simulated modules on the discovery port of loopback. These tests share
// port 2362 with every other test that does the same, so CTest runs them under one resource lock.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "engine/addp.h"
#include "platform/message_queue.h"
#include "platform/time.h"
#include "sim/lan_simulator.h"
#include "tests/sim/loopback.h"
#include "tests/support/network_namespace.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kMacA[6] = {0x02, 0x00, 0x00, 0x00, 0x01, 0x0a};
constexpr std::uint8_t kMacB[6] = {0x02, 0x00, 0x00, 0x00, 0x01, 0x0b};

sim::ModuleDescription Module(const std::uint8_t (&mac)[6], const char* name) {
    sim::ModuleDescription module;
    std::memcpy(module.mac.data(), mac, 6);
    module.ipAddress = *sim::ParseIpv4("10.0.0.5");
    module.subnetMask = *sim::ParseIpv4("255.255.255.0");
    module.name = name;
    module.modelName = "Digi Connect ME";
    module.password = "secret";
    return module;
}

std::string LastErrorText(AddpHandle handle) {
    char text[256] = {};
    AddpGetLastErrorText(handle, text, sizeof text);
    return text;
}

class EngineInteropTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string problem; !testsupport::OnlyLoopbackReachable(problem))
            GTEST_SKIP() << problem;
        m_lan.AddModule(Module(kMacA, "A"));
        m_lan.AddModule(Module(kMacB, "B"));
        std::string error;
        ASSERT_TRUE(m_lan.Start(&error)) << error;
        m_engine = AddpOpen(kAddpMagicDigi);
        ASSERT_NE(m_engine, nullptr);
    }
    void TearDown() override {
        AddpClose(m_engine);
        platform::SetTimeScale(1.0);
    }

    sim::LanSimulator m_lan{{{*sim::ParseIpv4("127.0.0.1")}, 2362, kAddpMagicDigi, 60s}};
    AddpHandle m_engine = nullptr;
};

TEST_F(EngineInteropTest, DiscoveryRunCollectsEverySimulatedModule) {
    platform::MessageQueue window;
    ASSERT_EQ(AddpStartDiscovery(m_engine, window.Handle(), platform::kWmApp + 2, 7), 0);
    std::set<std::string> names;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (names.size() < 2 && std::chrono::steady_clock::now() < deadline) {
        if (!window.Wait(500ms)) continue;
        AddpDevice devices[4];
        const int count = AddpGetDevices(m_engine, devices, 4);
        for (int i = 0; i < count; ++i) {
            names.insert(devices[i].name);
            EXPECT_STREQ(devices[i].modelName, "Digi Connect ME");
            EXPECT_EQ(devices[i].localAddress, *sim::ParseIpv4("127.0.0.1"));
        }
    }
    AddpStopDiscovery(m_engine);
    EXPECT_EQ(names, (std::set<std::string>{"A", "B"}));
}

TEST_F(EngineInteropTest, ChangesAreJudgedAppliedAndARebootSilencesTheModule) {
    platform::SetTimeScale(0.01);
    const std::uint32_t ip = *sim::ParseIpv4("10.9.8.7");
    const std::uint32_t mask = *sim::ParseIpv4("255.0.0.0");
    const std::uint32_t gateway = *sim::ParseIpv4("10.0.0.1");

    EXPECT_EQ(AddpSetNetwork(m_engine, kMacA, ip, mask, gateway, "wrong"), 1);
    EXPECT_EQ(AddpGetLastError(m_engine), 1);
    EXPECT_EQ(LastErrorText(m_engine), "Invalid password");

    EXPECT_EQ(AddpSetNetwork(m_engine, kMacA, ip, mask, gateway, "secret"), 0);
    EXPECT_EQ(AddpGetLastError(m_engine), 0);
    EXPECT_EQ(LastErrorText(m_engine), "Success");
    AddpDevice device{};
    ASSERT_EQ(AddpQueryDevice(m_engine, kMacA, &device), 0);
    EXPECT_EQ(device.ipAddress, ip);
    EXPECT_EQ(device.subnetMask, mask);
    EXPECT_EQ(m_lan.Description(0).gateway, gateway);

    ASSERT_EQ(AddpReboot(m_engine, kMacA, "secret"), 0);
    EXPECT_EQ(AddpQueryDevice(m_engine, kMacA, &device), -1) << "answered while rebooting";
    EXPECT_EQ(AddpQueryDevice(m_engine, kMacB, &device), 0) << "the other module must keep answering";
    int polls = 0;
    while (AddpQueryDevice(m_engine, kMacA, &device) != 0 && ++polls < 100) {
    }
    EXPECT_LT(polls, 100) << "the module never answered again";
}

}  // namespace
