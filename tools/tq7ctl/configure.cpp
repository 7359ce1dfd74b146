#include <chrono>
#include <cstdio>

#include "platform/time.h"
#include "tools/tq7ctl/commands.h"
#include "tools/tq7ctl/device_format.h"
#include "tools/tq7ctl/engine_instance.h"
#include "tools/tq7ctl/outcome.h"
#include "tools/tq7ctl/reboot_wait.h"

namespace tq7ctl {
namespace {

// The converter is only ever asked to turn DHCP on.
constexpr std::uint8_t kDhcpOn = 1;

template <typename Request>
ExitCode Configure(const Invocation& invocation, std::ostream& out, std::ostream& err, Request request) {
    EngineInstance engine;
    if (!engine) {
        ReportNoEngine(err);
        return kExitEngineFailure;
    }
    const int result = request(engine.Handle());
    return ReportConfigurationResult(invocation.mac, result, engine.StatusCode(), engine.StatusText(), out,
                                     err);
}

std::string Seconds(platform::Clock::duration elapsed) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", std::chrono::duration<double>(elapsed).count());
    return text;
}

ExitCode WaitForReboot(AddpHandle handle, const Mac& mac, std::ostream& out, std::ostream& err) {
    out << "waiting for " << MacText(mac.data()) << " to answer again" << std::endl;
    const auto start = platform::Clock::now();
    AddpDevice answer{};
    const PollOutcome outcome = PollUntilAnswered(
        [&] { return AddpQueryDevice(handle, mac.data(), &answer) == 0; }, platform::SleepFor);
    const std::string elapsed = Seconds(platform::Clock::now() - start);
    if (!outcome.answered) {
        err << "tq7ctl: timed out: " << MacText(mac.data()) << " did not answer " << outcome.polls
            << " queries in " << elapsed << '\n';
        return kExitNoAnswer;
    }
    out << MacText(mac.data()) << " answered again after " << elapsed << " (" << outcome.polls
        << (outcome.polls == 1 ? " query)" : " queries)") << '\n';
    return kExitOk;
}

}  // namespace

ExitCode RunSetNetwork(const Invocation& invocation, const std::string& password, std::ostream& out,
                       std::ostream& err) {
    return Configure(invocation, out, err, [&](AddpHandle handle) {
        return AddpSetNetwork(handle, invocation.mac.data(), invocation.ipAddress, invocation.subnetMask,
                              invocation.gateway, password.c_str());
    });
}

ExitCode RunDhcp(const Invocation& invocation, const std::string& password, std::ostream& out,
                 std::ostream& err) {
    return Configure(invocation, out, err, [&](AddpHandle handle) {
        return AddpSetDhcp(handle, invocation.mac.data(), kDhcpOn, password.c_str());
    });
}

ExitCode RunReboot(const Invocation& invocation, const std::string& password, std::ostream& out,
                   std::ostream& err) {
    EngineInstance engine;
    if (!engine) {
        ReportNoEngine(err);
        return kExitEngineFailure;
    }
    const int result = AddpReboot(engine.Handle(), invocation.mac.data(), password.c_str());
    const ExitCode reported =
        ReportConfigurationResult(invocation.mac, result, engine.StatusCode(), engine.StatusText(), out, err);
    if (reported != kExitOk || !invocation.wait) return reported;
    return WaitForReboot(engine.Handle(), invocation.mac, out, err);
}

}  // namespace tq7ctl
