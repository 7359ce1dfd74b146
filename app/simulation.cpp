#include "app/simulation.h"

#include <chrono>
#include <cstdlib>
#include <exception>
#include <string>

#include "engine/addp.h"
#include "sim/console/device_tree.h"
#include "sim/console/simulated_console.h"
#include "sim/lan_simulator.h"

namespace {

sim::ModuleDescription DemoConverter() {
    sim::ModuleDescription module;
    module.mac = {0x00, 0x40, 0x9d, 0x54, 0x51, 0x37};
    module.ipAddress = *sim::ParseIpv4("192.0.2.50");
    module.subnetMask = *sim::ParseIpv4("255.255.255.0");
    module.gateway = *sim::ParseIpv4("192.0.2.1");
    module.dnsAddress = *sim::ParseIpv4("192.0.2.1");
    module.name = "TQ7-desk";
    module.domain = "workshop";
    module.hardwareType = 0x4b;
    module.hardwareRevision = 2;
    module.modelName = "Digi Connect ME";
    module.firmware = "82000856_F";
    module.dhcpEnabled = false;
    module.realPortPort = 771;
    module.portCount = 1;
    module.password = Simulation::kPassword;
    return module;
}

}  // namespace

Simulation::Simulation() = default;
Simulation::~Simulation() = default;

bool Simulation::Start(QString& error) {
    // The demo converter's password is in --help: it answers on loopback only, and the program
    // looks for it there instead of on the LAN.
    AddpUseLoopbackOnly(true);
    m_lan = std::make_unique<sim::LanSimulator>(sim::LanSimulatorOptions{.rebootSilence = std::chrono::seconds(5)});
    m_lan->AddModule(DemoConverter());
    std::string reason;
    if (!m_lan->Start(&reason)) {
        error = QString::fromStdString(reason);
        return false;
    }
    try {
        m_usb = std::make_unique<sim::console::FakeDeviceTree>();
        sim::console::ConsoleOptions console;
        console.users = {{kConsoleUser, kConsolePassword}};
        m_usb->AddConsole({.ttyNumber = 0, .product = "TQ7 Converter"}, console);
    } catch (const std::exception& problem) {
        error = QStringLiteral("no simulated USB device: %1").arg(QString::fromUtf8(problem.what()));
        return false;
    }
    // The program's driver layer looks for USB devices under these roots.
    setenv("TQ7_SYSFS_ROOT", m_usb->SysfsRoot().c_str(), 1);
    setenv("TQ7_DEV_ROOT", m_usb->DevRoot().c_str(), 1);
    return true;
}
