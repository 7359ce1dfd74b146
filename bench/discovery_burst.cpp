// How a discovery run copes with a burst of replies from a large installation, and what its
// worker costs while nothing answers.
//
// Prints: replies collected out of 1000, the time from the first reply to the last record
// collected (target: all 1000 within 50 ms), and the process CPU time over 10 idle seconds of the
// run, which is the worker's own (target: under 20 ms).

#include <time.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench/loopback_guard.h"
#include "engine/addp.h"
#include "platform/message_queue.h"
#include "sim/lan_simulator.h"

namespace {

using namespace std::chrono_literals;
constexpr int kModules = 1000;
constexpr unsigned kCollect = 0x8002;

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

sim::ModuleDescription Module(int index) {
    sim::ModuleDescription module;
    module.mac = {0x00, 0x40, 0x9d, 0x00, static_cast<std::uint8_t>(index >> 8), static_cast<std::uint8_t>(index)};
    module.ipAddress = *sim::ParseIpv4("127.0.0.1");
    module.subnetMask = *sim::ParseIpv4("255.0.0.0");
    module.name = "converter-" + std::to_string(index);
    module.modelName = "Digi Connect ME";
    module.firmware = "82000856_F";
    return module;
}

}  // namespace

int main() {
    if (!OnlyLoopbackHere()) return 2;

    sim::LanSimulator simulator({.interfaces = {*sim::ParseIpv4("127.0.0.1")}});
    for (int i = 0; i < kModules; ++i) simulator.AddModule(Module(i));
    std::string error;
    if (!simulator.Start(&error)) {
        std::fprintf(stderr, "simulator: %s\n", error.c_str());
        return 1;
    }

    platform::MessageQueue window;
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    if (AddpStartDiscovery(handle, window.Handle(), kCollect, 0) != 0) return 1;

    std::vector<AddpDevice> devices(kModules);
    int collected = 0;
    auto lastCollected = std::chrono::steady_clock::now();
    const auto giveUp = lastCollected + 5s;
    while (collected < kModules && std::chrono::steady_clock::now() < giveUp) {
        if (!window.Wait(100ms)) continue;
        const int moved = AddpGetDevices(handle, devices.data() + collected, kModules - collected);
        if (moved > 0) {
            collected += moved;
            lastCollected = std::chrono::steady_clock::now();
        }
    }
    const auto received = simulator.Received();
    simulator.Stop();
    if (received.empty()) {
        std::fprintf(stderr, "the simulator never heard the discovery request\n");
        return 1;
    }
    // The simulator answers the moment the request arrives; the burst starts there.
    const auto burst = std::chrono::duration<double, std::milli>(lastCollected - received.front().arrival);
    std::printf("burst: %d of %d replies collected, %.1f ms from the first reply to the last record (target: all, < 50 ms)\n",
                collected, kModules, burst.count());

    const double before = CpuMilliseconds();
    std::this_thread::sleep_for(10s);
    const double idle = CpuMilliseconds() - before;
    std::printf("idle: %.2f ms of CPU time over 10 s with nothing answering (target: < 20 ms)\n", idle);

    AddpClose(handle);
    return 0;
}
