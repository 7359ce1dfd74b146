#pragma once
// What the engine's socket tests share: converters to simulate, and a test host made of a network
// namespace whose host name resolves to the addresses a case needs.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "engine/addp.h"
#include "platform/message_queue.h"
#include "sim/lan_simulator.h"
#include "tests/support/network_namespace.h"

namespace lantest {

inline constexpr unsigned kCollectMessage = 0x8002;

inline std::uint32_t Ip(const char* text) { return *sim::ParseIpv4(text); }

inline sim::ModuleDescription Converter(std::uint8_t last, const char* ip = "10.77.1.50") {
    sim::ModuleDescription module;
    module.mac = {0x00, 0x40, 0x9d, 0x12, 0x34, last};
    module.ipAddress = Ip(ip);
    module.subnetMask = Ip("255.255.255.0");
    module.gateway = Ip("10.77.1.254");
    module.dnsAddress = Ip("10.77.1.253");
    module.name = "bench-" + std::to_string(last);
    module.domain = "lab";
    module.hardwareType = 0x10;
    module.hardwareRevision = 2;
    module.modelName = "Digi Connect ME";
    module.firmware = "82000856_F";
    module.realPortPort = 771;
    module.password = "dbps";
    return module;
}

// A simulator joined on the given local addresses, running until the end of the scope.
inline std::unique_ptr<sim::LanSimulator> StartSimulator(const std::vector<const char*>& interfaces,
                                                         const std::vector<sim::ModuleDescription>& modules,
                                                         const sim::Faults& faults = {}) {
    sim::LanSimulatorOptions options;
    for (const char* address : interfaces) options.interfaces.push_back(Ip(address));
    auto simulator = std::make_unique<sim::LanSimulator>(options);
    for (const auto& module : modules) simulator->AddModule(module, faults);
    std::string error;
    EXPECT_TRUE(simulator->Start(&error)) << error;
    return simulator;
}

// Namespaced tests skip where namespaces cannot be made; each case builds its own host.
class NamespaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!testsupport::NamespacesAvailable(why)) GTEST_SKIP() << why;
        host = std::make_unique<testsupport::NetworkNamespace>();
    }
    // Interfaces with these addresses, and the host name resolving to them in this order.
    void Addresses(const std::vector<std::string>& addresses) {
        for (const std::string& address : addresses) host->AddInterface(address + "/24");
        host->SetHostAddresses(addresses);
    }
    std::unique_ptr<testsupport::NetworkNamespace> host;
};

}  // namespace lantest
