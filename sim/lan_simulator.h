#pragma once
// Simulated converter modules on the LAN: one UDP socket on the discovery port, joined to the
// discovery group, and a worker thread that answers for every module the simulator holds.
//
//     sim::LanSimulator lan({.interfaces = {*sim::ParseIpv4("127.0.0.1")}});
//     lan.AddModule(description, faults);
//     lan.Start();
//     ... lan.Received(), lan.Description(0) ...
//
// Every public member may be called from any thread, also while the worker runs; only Start and
// Stop (and the destructor) belong to one owning thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "engine/addp.h"
#include "platform/time.h"
#include "sim/module.h"

namespace sim {

struct ReceivedDatagram {
    std::vector<std::uint8_t> bytes;
    std::uint32_t sourceAddress = 0;  // network order
    std::uint16_t sourcePort = 0;     // host order
    platform::Clock::time_point arrival;
};

struct LanSimulatorOptions {
    // Local interface addresses (network order) to join the group on. Empty: loopback only, so
    // that no other computer sees the modules.
    std::vector<std::uint32_t> interfaces;
    std::uint16_t port = 2362;  // 0: the system picks a free port, see Port()
    std::uint32_t magic = kAddpMagicDigi;
    // How long a module stays quiet after the reply to an accepted reboot; program time, so
    // platform::SetTimeScale shortens it.
    std::chrono::nanoseconds rebootSilence = std::chrono::seconds(10);
};

class LanSimulator {
public:
    explicit LanSimulator(LanSimulatorOptions options = {});
    ~LanSimulator();  // stops
    LanSimulator(const LanSimulator&) = delete;
    LanSimulator& operator=(const LanSimulator&) = delete;

    // Returns the module's index for the accessors below. Modules may be added while running.
    std::size_t AddModule(const ModuleDescription& module, const Faults& faults = {});
    std::size_t ModuleCount() const;

    // Opens the socket (SO_REUSEADDR, so several simulators can share the port), joins the group
    // and starts the worker. False, with the reason in `error`, when the socket cannot be bound,
    // an interface cannot join, or it already runs.
    bool Start(std::string* error = nullptr);
    // Ends the worker and closes the socket; answers not yet sent are dropped. Modules, their
    // state and the log stay. Does nothing when not running.
    void Stop();
    bool Running() const;

    // The bound port and the interfaces joined; meaningful while running.
    std::uint16_t Port() const;
    std::vector<std::uint32_t> JoinedInterfaces() const;

    // The module as it now is, accepted changes included. The index must be one AddModule gave.
    ModuleDescription Description(std::size_t module) const;
    void SetDescription(std::size_t module, const ModuleDescription& description);
    void SetFaults(std::size_t module, const Faults& faults);
    // Ends the silence after a reboot now: the module answers the next request that reaches it.
    void EndRebootSilence(std::size_t module);

    // Every datagram that reached the socket, oldest first, whether answered or not.
    std::vector<ReceivedDatagram> Received() const;
    void ClearReceived();
    // Waits up to the timeout (real time) until the log holds at least `count` datagrams.
    bool WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;

    // Sends bytes as they are from the simulator's socket to the address (network order) and
    // port (host order), for replies built by hand. False when not running or the send failed.
    bool SendRaw(std::span<const std::uint8_t> bytes, std::uint32_t address, std::uint16_t port);

private:
    struct ModuleState {
        ModuleDescription description;
        Faults faults;
        platform::Clock::time_point quietUntil{};
    };
    struct Outgoing;

    bool OpenSocket(std::string& error);
    void CloseSockets();
    void Work();
    void Answer(const ReceivedDatagram& datagram, std::vector<Outgoing>& pending);

    const LanSimulatorOptions m_options;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_datagramArrived;
    std::vector<ModuleState> m_modules;
    std::vector<ReceivedDatagram> m_log;
    std::vector<std::uint32_t> m_joined;
    int m_socket = -1;
    int m_wake[2] = {-1, -1};  // written by Stop to end the worker's wait at once
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_worker;
};

}  // namespace sim
