#pragma once
// What the engine's socket tests share: converters to simulate, test hosts made of network
// namespaces (whose host name maps to 127.0.1.1, as on a Debian desktop), and timer signals that
// interrupt whatever a thread is waiting for.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>

#include <atomic>
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

// A simulator joined on the given local addresses (none: loopback), running until the end of
// the scope.
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

// The same, started from inside another namespace: its modules sit beyond a link of it.
inline std::unique_ptr<sim::LanSimulator> StartSimulatorIn(const testsupport::NetworkNamespace& lan,
                                                           const std::vector<const char*>& interfaces,
                                                           const std::vector<sim::ModuleDescription>& modules,
                                                           const sim::Faults& faults = {}) {
    const auto inside = lan.Enter();
    return StartSimulator(interfaces, modules, faults);
}

// Namespaced tests skip where namespaces cannot be made; each case builds its own host.
class NamespaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!testsupport::NamespacesAvailable(why)) GTEST_SKIP() << why;
        host = std::make_unique<testsupport::NetworkNamespace>();
    }
    // One interface per address, in this order; the host name still maps to 127.0.1.1.
    void Interfaces(const std::vector<std::string>& addresses) {
        for (const std::string& address : addresses) host->AddInterface(address + "/24");
    }
    std::unique_ptr<testsupport::NetworkNamespace> host;
};

// Keeps SIGALRM from the calling thread, and from the threads it starts meanwhile.
class AlarmBlocked {
public:
    AlarmBlocked() {
        sigset_t alarm;
        sigemptyset(&alarm);
        sigaddset(&alarm, SIGALRM);
        pthread_sigmask(SIG_BLOCK, &alarm, &m_before);
    }
    ~AlarmBlocked() { pthread_sigmask(SIG_SETMASK, &m_before, nullptr); }
    AlarmBlocked(const AlarmBlocked&) = delete;
    AlarmBlocked& operator=(const AlarmBlocked&) = delete;

private:
    sigset_t m_before;
};

// SIGALRM every `period` to a thread of the process that does not block it, with a handler
// installed without SA_RESTART, as a program with timers of its own would have it.
class TimerSignals {
public:
    explicit TimerSignals(std::chrono::microseconds period) {
        s_delivered = 0;
        struct sigaction action{};
        action.sa_handler = [](int) { s_delivered.fetch_add(1, std::memory_order_relaxed); };
        sigemptyset(&action.sa_mask);
        sigaction(SIGALRM, &action, &m_before);
        const timeval every{0, static_cast<suseconds_t>(period.count())};
        const itimerval timer{every, every};
        setitimer(ITIMER_REAL, &timer, nullptr);
    }
    ~TimerSignals() {
        const itimerval off{};
        setitimer(ITIMER_REAL, &off, nullptr);
        // Ignoring it first discards a signal still pending, which the old action might not survive.
        signal(SIGALRM, SIG_IGN);
        sigaction(SIGALRM, &m_before, nullptr);
    }
    TimerSignals(const TimerSignals&) = delete;
    TimerSignals& operator=(const TimerSignals&) = delete;

    static int Delivered() { return s_delivered.load(); }

private:
    static inline std::atomic<int> s_delivered{0};
    struct sigaction m_before{};
};

}  // namespace lantest
