#pragma once
// A throw-away sysfs tree and dev directory that present simulated converters (and other
// USB serial adapters) to the Linux FTDI backend, each device node a link to a pseudo-terminal.
// Point the backend at Roots(), or set TQ7_SYSFS_ROOT and TQ7_DEV_ROOT to SysfsRoot() and
// DevRoot() for a program started from here.
//
// Layout, as the kernel has it:
//   sys/bus/usb-serial/devices/ttyUSBN -> ../../../devices/usb1/1-K/1-K:1.0/ttyUSBN
//   sys/devices/usb1/1-K/{idVendor,idProduct,product}
//   sys/devices/usb1/1-K/1-K:1.0/ttyUSBN/driver -> ../../../../../bus/usb-serial/drivers/DRIVER
//   dev/ttyUSBN -> the pseudo-terminal's slave

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/ftdi_linux.h"
#include "sim/console/pseudo_terminal.h"
#include "sim/console/simulated_console.h"

namespace sim::console {

struct FakeUsbSerial {
    std::int32_t ttyNumber = 0;
    std::uint16_t vendorId = 0x0403;
    std::uint16_t productId = 0x6009;
    std::string product = "TQ7 Converter";
    std::string driver = "ftdi_sio";
};

class FakeDeviceTree {
public:
    FakeDeviceTree();   // a fresh directory under the system's temporary directory
    ~FakeDeviceTree();  // stops its consoles and removes the directory
    FakeDeviceTree(const FakeDeviceTree&) = delete;
    FakeDeviceTree& operator=(const FakeDeviceTree&) = delete;

    const std::filesystem::path& SysfsRoot() const { return m_sysfs; }
    const std::filesystem::path& DevRoot() const { return m_dev; }
    platform::FtdiRoots Roots() const { return {m_sysfs, m_dev}; }

    // A device with a simulated console behind its node. Unplugging the console takes the
    // device's sysfs entry and node away.
    SimulatedConsole& AddConsole(const FakeUsbSerial& device = {}, ConsoleOptions options = {});
    // The console last added as ttyUSBN, also after Remove; null when there is none.
    SimulatedConsole* Console(std::int32_t ttyNumber);
    // A device whose node is a bare pseudo-terminal: the test is the far end of the line.
    PseudoTerminal& AddPort(const FakeUsbSerial& device);
    // A sysfs entry with no device node at all.
    void AddEntry(const FakeUsbSerial& device);

    // Takes the device's sysfs entry and node away (the line itself stays as it is).
    void Remove(std::int32_t ttyNumber);

private:
    void MakeEntry(const FakeUsbSerial& device);
    void LinkNode(std::int32_t ttyNumber, const std::string& target);

    std::filesystem::path m_base;
    std::filesystem::path m_sysfs;
    std::filesystem::path m_dev;
    std::mutex m_lock;  // guards the filesystem layout and the maps
    int m_nextUsbPort = 1;
    std::map<std::int32_t, std::filesystem::path> m_usbDevices;
    std::map<std::int32_t, std::unique_ptr<PseudoTerminal>> m_ports;
    std::map<std::int32_t, std::unique_ptr<SimulatedConsole>> m_consoles;
};

}  // namespace sim::console
