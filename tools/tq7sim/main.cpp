// tq7sim: serves simulated converter modules on the LAN, and a simulated converter console over
// USB, until it is interrupted.

#include <signal.h>

#include <charconv>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "product_version.h"
#include "sim/console/device_tree.h"
#include "sim/lan_simulator.h"
#include "sim/module_spec.h"

namespace {

constexpr int kUsageError = 2;

void PrintUsage(std::ostream& out) {
    out << "Usage: tq7sim [--module KEY=VALUE,... [--module ...]] [--usb] [options]\n"
           "Answers discovery and configuration requests for each module, and serves a converter\n"
           "console on a simulated USB device, until SIGINT or SIGTERM. Prints one line per module\n"
           "and, with --usb, the device and the roots to give the program, then \"ready\".\n\n"
           "Options:\n"
           "  --module SPEC           a module to serve on the LAN (repeatable)\n"
           "  --usb                   present a converter on USB: a pseudo-terminal under a device tree\n"
           "                          of its own; start the program with the printed TQ7_SYSFS_ROOT and\n"
           "                          TQ7_DEV_ROOT to reach it (the tree goes when tq7sim ends)\n"
           "  --bind ADDRESS          join the discovery group on this local address (repeatable); the\n"
           "                          modules then answer every computer on that network. Default:\n"
           "                          loopback only, reached by \"tq7ctl --loopback\" on this computer\n"
           "  --port N                UDP port to listen on (2362)\n"
           "  --reboot-silence SECS   how long a module stays quiet after a reboot (10)\n"
           "  --help                  this text\n"
           "  --version               the version\n\n"
        << sim::ModuleSpecHelp();
}

int UsageError(const std::string& message) {
    std::cerr << "tq7sim: " << message << "\nTry \"tq7sim --help\".\n";
    return kUsageError;
}

bool ParseSeconds(std::string_view text, std::chrono::nanoseconds& out) {
    double seconds = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (problem != std::errc() || end != text.data() + text.size() || !(seconds >= 0) || seconds > 86400)
        return false;
    out = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::duration<double>(seconds));
    return true;
}

bool ParsePort(std::string_view text, std::uint16_t& out) {
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), out);
    return problem == std::errc() && end == text.data() + text.size();
}

// Serves the modules on the LAN; nullptr, with the reason printed, when it cannot listen.
std::unique_ptr<sim::LanSimulator> StartLan(const sim::LanSimulatorOptions& options,
                                            const std::vector<sim::ModuleSpec>& modules) {
    auto lan = std::make_unique<sim::LanSimulator>(options);
    for (const sim::ModuleSpec& spec : modules) {
        lan->AddModule(spec.description, spec.faults);
        const sim::ModuleDescription& module = spec.description;
        std::printf("module %s ip %s mask %s name \"%s\" model \"%s\"\n", sim::MacText(module.mac).c_str(),
                    sim::Ipv4Text(module.ipAddress).c_str(), sim::Ipv4Text(module.subnetMask).c_str(),
                    module.name.c_str(), module.modelName.value_or("").c_str());
    }
    std::string error;
    if (!lan->Start(&error)) {
        std::fprintf(stderr, "tq7sim: %s\n", error.c_str());
        return nullptr;
    }
    std::printf("listening on port %u, interfaces", lan->Port());
    for (const std::uint32_t interface : lan->JoinedInterfaces())
        std::printf(" %s", sim::Ipv4Text(interface).c_str());
    std::printf("\n");
    return lan;
}

// One converter console behind a pseudo-terminal, presented as the converter's USB bridge;
// nullptr, with the reason printed, when the system has no pseudo-terminal to give.
std::unique_ptr<sim::console::FakeDeviceTree> PresentUsbConsole() {
    try {
        auto tree = std::make_unique<sim::console::FakeDeviceTree>();
        const sim::console::FakeUsbSerial device;
        const sim::console::ConsoleOptions console;
        tree->AddConsole(device, console);
        const sim::console::ConsoleUser& user = console.users.front();
        std::printf("usb device \"%s\" on ttyUSB%d, console user \"%s\" password \"%s\"\n",
                    device.product.c_str(), device.ttyNumber, user.name.c_str(), user.password.c_str());
        std::printf("TQ7_SYSFS_ROOT=%s\nTQ7_DEV_ROOT=%s\n", tree->SysfsRoot().c_str(), tree->DevRoot().c_str());
        return tree;
    } catch (const std::exception& problem) {
        std::fprintf(stderr, "tq7sim: no simulated USB device: %s\n", problem.what());
        return nullptr;
    }
}

}  // namespace

int main(int argc, char** argv) {
    sim::LanSimulatorOptions options;
    std::vector<sim::ModuleSpec> modules;
    bool usb = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            PrintUsage(std::cout);
            return 0;
        }
        if (option == "--version") {
            std::cout << "tq7sim " << kProductVersion << '\n';
            return 0;
        }
        if (option == "--usb") {
            usb = true;
            continue;
        }
        if (option != "--module" && option != "--bind" && option != "--port" && option != "--reboot-silence")
            return UsageError("unknown option \"" + std::string(option) + "\"");
        if (i + 1 == argc) return UsageError(std::string(option) + " needs a value");
        const std::string_view value = argv[++i];

        if (option == "--module") {
            sim::ModuleSpec spec;
            std::string error;
            if (!sim::ParseModuleSpec(value, spec, error)) return UsageError("--module: " + error);
            modules.push_back(std::move(spec));
        } else if (option == "--bind") {
            const auto address = sim::ParseIpv4(value);
            if (!address) return UsageError("--bind: \"" + std::string(value) + "\" is no IPv4 address");
            options.interfaces.push_back(*address);
        } else if (option == "--port") {
            if (!ParsePort(value, options.port))
                return UsageError("--port: \"" + std::string(value) + "\" is no port");
        } else if (!ParseSeconds(value, options.rebootSilence)) {
            return UsageError("--reboot-silence: \"" + std::string(value) + "\" is no number of seconds");
        }
    }
    if (modules.empty() && !usb) return UsageError("give at least one --module, or --usb");

    // Blocked before any thread starts, so that each inherits the mask and only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::unique_ptr<sim::LanSimulator> lan;
    if (!modules.empty() && !(lan = StartLan(options, modules))) return 1;
    std::unique_ptr<sim::console::FakeDeviceTree> usbDevice;
    if (usb && !(usbDevice = PresentUsbConsole())) return 1;
    std::printf("ready\n");
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    if (lan) lan->Stop();
    return 0;
}
