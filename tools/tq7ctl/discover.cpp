#include <chrono>
#include <vector>

#include "platform/message_queue.h"
#include "platform/time.h"
#include "tools/tq7ctl/commands.h"
#include "tools/tq7ctl/device_format.h"
#include "tools/tq7ctl/engine_instance.h"

namespace tq7ctl {
namespace {

// Prints every record waiting in the engine, oldest first, each as soon as it is taken out.
void PrintWaiting(AddpHandle handle, bool json, std::ostream& out) {
    for (;;) {
        const int waiting = AddpGetDeviceCount(handle);
        if (waiting <= 0) return;
        std::vector<AddpDevice> devices(static_cast<std::size_t>(waiting));
        const int moved = AddpGetDevices(handle, devices.data(), waiting);
        if (moved <= 0) return;
        for (int i = 0; i < moved; ++i) {
            const AddpDevice& device = devices[static_cast<std::size_t>(i)];
            out << (json ? DeviceJson(device) : DeviceLine(device)) << '\n';
        }
        out.flush();
    }
}

// Names the interfaces the run is about to search through; false when there is none, for a run
// without one would wait in silence.
bool ReportInterfaces(bool verbose, std::ostream& err) {
    AddpInterface interfaces[kAddpMaxInterfaces];
    const int count = AddpGetLocalInterfaces(interfaces, kAddpMaxInterfaces);
    if (count <= 0) {
        err << "tq7ctl: no local IPv4 interface is up to search through\n";
        return false;
    }
    for (int i = 0; verbose && i < count; ++i)
        err << "tq7ctl: searching through " << Ipv4Text(interfaces[i].address) << " ("
            << PlainText(FieldText(interfaces[i].name)) << ")\n";
    err.flush();
    return true;
}

}  // namespace

ExitCode RunDiscover(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    EngineInstance engine;
    if (!engine) {
        ReportNoEngine(err);
        return kExitEngineFailure;
    }
    if (!ReportInterfaces(invocation.verbose, err)) return kExitEngineFailure;
    platform::MessageQueue window;
    if (AddpStartDiscovery(engine.Handle(), window.Handle(), kDiscoveryMessage, 0) != 0) {
        err << "tq7ctl: the discovery could not be started\n";
        return kExitEngineFailure;
    }

    const auto end = platform::DeadlineAfter(std::chrono::seconds(invocation.seconds));
    for (auto now = platform::Clock::now(); now < end; now = platform::Clock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now);
        const auto message = window.Wait(left);
        if (message && message->message == kDiscoveryMessage && message->second == 0)
            PrintWaiting(engine.Handle(), invocation.json, out);
    }
    AddpStopDiscovery(engine.Handle());
    // Replies of the last cycle may have been queued after its notification was handled.
    PrintWaiting(engine.Handle(), invocation.json, out);
    if (const int dropped = AddpGetDroppedCount(engine.Handle()); dropped > 0)
        err << "tq7ctl: " << dropped << " more answers were dropped: one run keeps at most " << kAddpMaxRunRecords
            << '\n';
    return kExitOk;
}

}  // namespace tq7ctl
