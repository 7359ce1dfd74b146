#include "sim/console/device_tree.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace sim::console {
namespace fs = std::filesystem;
namespace {

void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out) throw std::system_error(EIO, std::generic_category(), "write " + file.string());
}

std::string Hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x\n", value);
    return text;
}

std::string TtyName(std::int32_t number) {
    return "ttyUSB" + std::to_string(number);
}

}  // namespace

FakeDeviceTree::FakeDeviceTree() {
    std::string pattern = (fs::temp_directory_path() / "tq7-devices-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    m_base = pattern;
    m_sysfs = m_base / "sys";
    m_dev = m_base / "dev";
    fs::create_directories(m_sysfs / "bus" / "usb-serial" / "devices");
    fs::create_directories(m_sysfs / "bus" / "usb-serial" / "drivers");
    fs::create_directories(m_sysfs / "devices" / "usb1");
    fs::create_directories(m_dev);
}

FakeDeviceTree::~FakeDeviceTree() {
    m_consoles.clear();  // their threads end before the tree they sit in goes
    m_ports.clear();
    std::error_code ignored;
    fs::remove_all(m_base, ignored);
}

void FakeDeviceTree::MakeEntry(const FakeUsbSerial& device) {
    const std::string tty = TtyName(device.ttyNumber);
    if (m_usbDevices.count(device.ttyNumber) != 0)
        throw std::system_error(EEXIST, std::generic_category(), tty + " already present");
    const std::string usbName = "1-" + std::to_string(m_nextUsbPort++);
    const fs::path usbDevice = m_sysfs / "devices" / "usb1" / usbName;
    const fs::path ttyDir = usbDevice / (usbName + ":1.0") / tty;
    fs::create_directories(ttyDir);
    WriteFile(usbDevice / "idVendor", Hex4(device.vendorId));
    WriteFile(usbDevice / "idProduct", Hex4(device.productId));
    WriteFile(usbDevice / "product", device.product + "\n");
    const fs::path driverDir = m_sysfs / "bus" / "usb-serial" / "drivers" / device.driver;
    fs::create_directories(driverDir);
    fs::create_directory_symlink(fs::relative(driverDir, ttyDir), ttyDir / "driver");
    const fs::path busEntry = m_sysfs / "bus" / "usb-serial" / "devices" / tty;
    fs::create_directory_symlink(fs::relative(ttyDir, busEntry.parent_path()), busEntry);
    m_usbDevices[device.ttyNumber] = usbDevice;
}

void FakeDeviceTree::LinkNode(std::int32_t ttyNumber, const std::string& target) {
    fs::create_symlink(target, m_dev / TtyName(ttyNumber));
}

SimulatedConsole& FakeDeviceTree::AddConsole(const FakeUsbSerial& device, ConsoleOptions options) {
    std::lock_guard lock(m_lock);
    MakeEntry(device);
    const std::int32_t number = device.ttyNumber;
    auto console = std::make_unique<SimulatedConsole>(std::move(options), [this, number] { Remove(number); });
    LinkNode(number, console->SlavePath());
    SimulatedConsole& added = *console;
    m_consoles[number] = std::move(console);
    return added;
}

SimulatedConsole* FakeDeviceTree::Console(std::int32_t ttyNumber) {
    std::lock_guard lock(m_lock);
    const auto console = m_consoles.find(ttyNumber);
    return console == m_consoles.end() ? nullptr : console->second.get();
}

PseudoTerminal& FakeDeviceTree::AddPort(const FakeUsbSerial& device) {
    std::lock_guard lock(m_lock);
    MakeEntry(device);
    auto port = std::make_unique<PseudoTerminal>();
    LinkNode(device.ttyNumber, port->SlavePath());
    PseudoTerminal& added = *port;
    m_ports[device.ttyNumber] = std::move(port);
    return added;
}

void FakeDeviceTree::AddEntry(const FakeUsbSerial& device) {
    std::lock_guard lock(m_lock);
    MakeEntry(device);
}

void FakeDeviceTree::Remove(std::int32_t ttyNumber) {
    std::lock_guard lock(m_lock);
    const std::string tty = TtyName(ttyNumber);
    std::error_code ignored;
    fs::remove(m_dev / tty, ignored);
    fs::remove(m_sysfs / "bus" / "usb-serial" / "devices" / tty, ignored);
    if (const auto usb = m_usbDevices.find(ttyNumber); usb != m_usbDevices.end()) {
        fs::remove_all(usb->second, ignored);
        m_usbDevices.erase(usb);
    }
}

}  // namespace sim::console
