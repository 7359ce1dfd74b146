#include "platform/ftdi_linux.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/ftdi_sysfs.h"
#include "platform/serial_port.h"

namespace platform {
namespace {

std::filesystem::path EnvironmentPath(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::filesystem::path(value)
                                              : std::filesystem::path(fallback);
}

}  // namespace

FtdiRoots FtdiRootsFromEnvironment() {
    return FtdiRoots{EnvironmentPath("TQ7_SYSFS_ROOT", "/sys"), EnvironmentPath("TQ7_DEV_ROOT", "/dev")};
}

SysfsFtdiDriver::SysfsFtdiDriver(FtdiRoots roots) : m_roots(std::move(roots)) {}

SysfsFtdiDriver::~SysfsFtdiDriver() {
    for (auto& [handle, port] : m_open) port->Shutdown();
}

std::shared_ptr<SerialPort> SysfsFtdiDriver::Find(FtdiHandle handle) {
    std::lock_guard lock(m_lock);
    const auto found = m_open.find(handle);
    return found == m_open.end() ? nullptr : found->second;
}

FtdiStatus SysfsFtdiDriver::BuildDeviceList(std::uint32_t& count) {
    std::vector<FtdiDeviceNode> snapshot;
    for (const ftdi_sysfs::FtdiTty& tty : ftdi_sysfs::ScanFtdiTtys(m_roots.sysfs)) {
        FtdiDeviceNode node;
        node.deviceId = tty.deviceId;
        node.comPort = tty.number;
        ftdi_sysfs::CopyDescription(tty.product, node.description);
        snapshot.push_back(node);
    }
    std::lock_guard lock(m_lock);
    m_snapshot = std::move(snapshot);
    count = static_cast<std::uint32_t>(m_snapshot.size());
    return FtdiStatus::kOk;
}

FtdiStatus SysfsFtdiDriver::ReadDeviceList(std::span<FtdiDeviceNode> nodes, std::uint32_t& count) {
    std::lock_guard lock(m_lock);
    const std::size_t copied = std::min(nodes.size(), m_snapshot.size());
    std::copy_n(m_snapshot.begin(), copied, nodes.begin());
    count = static_cast<std::uint32_t>(copied);
    return copied == m_snapshot.size() ? FtdiStatus::kOk : FtdiStatus::kInvalidArgument;
}

FtdiStatus SysfsFtdiDriver::Open(std::uint32_t index, FtdiHandle& handle) {
    std::int32_t number = 0;
    {
        std::lock_guard lock(m_lock);
        if (index >= m_snapshot.size()) return FtdiStatus::kDeviceNotFound;
        number = m_snapshot[index].comPort;
    }
    std::shared_ptr<SerialPort> port;
    const std::filesystem::path node = m_roots.dev / ("ttyUSB" + std::to_string(number));
    if (const FtdiStatus status = SerialPort::Open(node, number, port); !IsOk(status)) return status;
    std::lock_guard lock(m_lock);
    if (++m_lastHandle == kNoFtdiHandle) ++m_lastHandle;
    m_open.emplace(m_lastHandle, std::move(port));
    handle = m_lastHandle;
    return FtdiStatus::kOk;
}

FtdiStatus SysfsFtdiDriver::Close(FtdiHandle handle) {
    std::shared_ptr<SerialPort> port;
    {
        std::lock_guard lock(m_lock);
        const auto found = m_open.find(handle);
        if (found == m_open.end()) return FtdiStatus::kInvalidHandle;
        port = std::move(found->second);
        m_open.erase(found);
    }
    // A read or write still running elsewhere keeps the port alive until it returns.
    port->Shutdown();
    return FtdiStatus::kOk;
}

FtdiStatus SysfsFtdiDriver::Read(FtdiHandle handle, std::span<char> buffer, std::uint32_t& got) {
    got = 0;
    const std::shared_ptr<SerialPort> port = Find(handle);
    return port ? port->Read(buffer, got) : FtdiStatus::kInvalidHandle;
}

FtdiStatus SysfsFtdiDriver::Write(FtdiHandle handle, std::span<const char> bytes, std::uint32_t& written) {
    written = 0;
    const std::shared_ptr<SerialPort> port = Find(handle);
    return port ? port->Write(bytes, written) : FtdiStatus::kInvalidHandle;
}

FtdiStatus SysfsFtdiDriver::SetBaudRate(FtdiHandle handle, std::uint32_t baudRate) {
    const std::shared_ptr<SerialPort> port = Find(handle);
    return port ? port->SetBaudRate(baudRate) : FtdiStatus::kInvalidHandle;
}

FtdiStatus SysfsFtdiDriver::SetDataCharacteristics(FtdiHandle handle, std::uint8_t wordLength,
                                                   std::uint8_t stopBits, std::uint8_t parity) {
    const std::shared_ptr<SerialPort> port = Find(handle);
    return port ? port->SetFraming(wordLength, stopBits, parity) : FtdiStatus::kInvalidHandle;
}

FtdiStatus SysfsFtdiDriver::Purge(FtdiHandle handle, std::uint32_t mask) {
    const std::shared_ptr<SerialPort> port = Find(handle);
    return port ? port->Purge(mask) : FtdiStatus::kInvalidHandle;
}

FtdiStatus SysfsFtdiDriver::SetTimeouts(FtdiHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
    const std::shared_ptr<SerialPort> port = Find(handle);
    if (!port) return FtdiStatus::kInvalidHandle;
    port->SetTimeouts(readMs, writeMs);
    return FtdiStatus::kOk;
}

FtdiStatus SysfsFtdiDriver::GetComPortNumber(FtdiHandle handle, std::int32_t& port) {
    const std::shared_ptr<SerialPort> open = Find(handle);
    if (!open) return FtdiStatus::kInvalidHandle;
    port = open->ComPort();
    return FtdiStatus::kOk;
}

}  // namespace platform
