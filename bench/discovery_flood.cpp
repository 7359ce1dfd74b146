// How a discovery run stands a flood of valid replies, as any host on the LAN could send: 25,000
// a second for 5 s, stopped after 2 s. Twice: collected the way tq7ctl does, and not collected at
// all (a window busy elsewhere), the worst case for memory.
//
// Prints for each: replies sent, records kept and dropped (the run keeps at most 4096), how long
// the stop took (target: within one receive cycle, 200 ms) and the process's memory before the run
// and at the stop (target: a few MB more at most, however long the flood), then the peak.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/loopback_guard.h"
#include "engine/addp.h"
#include "platform/message_queue.h"
#include "sim/lan_simulator.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
constexpr unsigned kCollect = 0x8002;
constexpr int kRepliesPerSecond = 25'000;
constexpr auto kFlood = 5s;
constexpr auto kRun = 2s;
constexpr auto kBatch = 10ms;  // the flood is paced in batches of a hundredth of a second

// A line of /proc/self/status ("VmRSS", "VmHWM") in MB.
double MemoryMb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024.0;
    return -1;
}

// A discovery reply of a module with a name and a model, as a flood would send it.
std::vector<std::uint8_t> Reply() {
    const std::string name = "flood", model = "Digi Connect ME";
    std::vector<std::uint8_t> payload{1, 6, 0x00, 0x40, 0x9d, 0xf1, 0x00, 0xd0, 2, 4, 127, 0, 0, 9};
    payload.push_back(4);
    payload.push_back(static_cast<std::uint8_t>(name.size()));
    payload.insert(payload.end(), name.begin(), name.end());
    payload.push_back(13);
    payload.push_back(static_cast<std::uint8_t>(model.size()));
    payload.insert(payload.end(), model.begin(), model.end());
    std::vector<std::uint8_t> datagram{'D', 'I', 'G', 'I', 0, 2, 0, static_cast<std::uint8_t>(payload.size())};
    datagram.insert(datagram.end(), payload.begin(), payload.end());
    return datagram;
}

// One run under the flood; false when the run's request never reached the simulator.
bool FloodRun(sim::LanSimulator& simulator, bool collecting) {
    simulator.ClearReceived();
    const double before = MemoryMb("VmRSS");
    platform::MessageQueue window;
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    if (AddpStartDiscovery(handle, window.Handle(), kCollect, 0) != 0 || !simulator.WaitForReceived(1, 5s)) {
        AddpClose(handle);
        return false;
    }
    const sim::ReceivedDatagram request = simulator.Received().front();

    int sent = 0;
    std::thread flood([&] {
        const std::vector<std::uint8_t> reply = Reply();
        const auto start = Clock::now();
        for (auto batch = start; batch < start + kFlood; batch += kBatch) {
            for (int i = 0; i < kRepliesPerSecond / 100; ++i)
                if (simulator.SendRaw(reply, request.sourceAddress, request.sourcePort)) ++sent;
            std::this_thread::sleep_until(batch + kBatch);
        }
    });

    // Collected as tq7ctl discover does: everything waiting, at each notification.
    int collected = 0;
    const auto collect = [&] {
        AddpDevice devices[64];
        for (int moved; (moved = AddpGetDevices(handle, devices, 64)) > 0;) collected += moved;
    };
    const auto stopAt = Clock::now() + kRun;
    while (Clock::now() < stopAt)
        if (window.Wait(std::chrono::ceil<std::chrono::milliseconds>(stopAt - Clock::now())) && collecting) collect();
    const auto stopping = Clock::now();
    AddpStopDiscovery(handle);
    const std::chrono::duration<double, std::milli> stopLatency = Clock::now() - stopping;
    const double atStop = MemoryMb("VmRSS");
    const int kept = collected + AddpGetDeviceCount(handle);
    const int dropped = AddpGetDroppedCount(handle);
    flood.join();
    AddpClose(handle);

    std::printf("%s: %d replies sent at %d/s for %lld s, the run stopped after %lld s\n",
                collecting ? "collected" : "not collected", sent, kRepliesPerSecond,
                static_cast<long long>(kFlood.count()), static_cast<long long>(kRun.count()));
    std::printf("  records: %d kept (at most %d), %d dropped and counted\n", kept, kAddpMaxRunRecords, dropped);
    std::printf("  stop: %.1f ms from AddpStopDiscovery to its return (target: within one cycle, 200 ms)\n",
                stopLatency.count());
    std::printf("  memory: %.1f MB before the run, %.1f MB at the stop (target: a few MB more at most)\n", before,
                atStop);
    return true;
}

}  // namespace

int main() {
    if (!OnlyLoopbackHere()) return 2;

    // A silent module: the simulator only tells where the run's request came from.
    sim::LanSimulator simulator({.interfaces = {*sim::ParseIpv4("127.0.0.1")}});
    sim::ModuleDescription quiet;
    quiet.mac = {0x00, 0x40, 0x9d, 0xf1, 0x00, 0x01};
    simulator.AddModule(quiet, {.silent = true});
    std::string error;
    if (!simulator.Start(&error)) {
        std::fprintf(stderr, "simulator: %s\n", error.c_str());
        return 1;
    }
    for (const bool collecting : {true, false}) {
        if (!FloodRun(simulator, collecting)) {
            std::fprintf(stderr, "the discovery request never arrived\n");
            return 1;
        }
    }
    std::printf("peak memory: %.1f MB\n", MemoryMb("VmHWM"));
    return 0;
}
