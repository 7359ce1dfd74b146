#pragma once
// The Linux backend of the FTDI driver operations: USB serial ttys bound to the kernel's FTDI
// serial driver, found through sysfs and driven through termios.
//
// A device is listed when sysfs has bus/usb-serial/devices/ttyUSBN whose `driver` link names
// ftdi_sio; ttys of other drivers are never listed, so nothing here opens a foreign adapter. The
// USB device above the tty gives the device ID (idVendor << 16 | idProduct) and the description
// (its `product` string). The list is sorted by N; the COM port number is N; the device node is
// the dev root's ttyUSBN.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/ftdi.h"

namespace platform {

struct FtdiRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";
};

// TQ7_SYSFS_ROOT and TQ7_DEV_ROOT where set and not empty, otherwise /sys and /dev.
FtdiRoots FtdiRootsFromEnvironment();

class SerialPort;

class SysfsFtdiDriver final : public FtdiDriver {
public:
    explicit SysfsFtdiDriver(FtdiRoots roots);
    ~SysfsFtdiDriver() override;  // closes every handle still open

    SysfsFtdiDriver(const SysfsFtdiDriver&) = delete;
    SysfsFtdiDriver& operator=(const SysfsFtdiDriver&) = delete;

    FtdiStatus BuildDeviceList(std::uint32_t& count) override;
    FtdiStatus ReadDeviceList(std::span<FtdiDeviceNode> nodes, std::uint32_t& count) override;
    FtdiStatus Open(std::uint32_t index, FtdiHandle& handle) override;
    FtdiStatus Close(FtdiHandle handle) override;
    FtdiStatus Read(FtdiHandle handle, std::span<char> buffer, std::uint32_t& got) override;
    FtdiStatus Write(FtdiHandle handle, std::span<const char> bytes, std::uint32_t& written) override;
    FtdiStatus SetBaudRate(FtdiHandle handle, std::uint32_t baudRate) override;
    FtdiStatus SetDataCharacteristics(FtdiHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                      std::uint8_t parity) override;
    FtdiStatus Purge(FtdiHandle handle, std::uint32_t mask) override;
    FtdiStatus SetTimeouts(FtdiHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override;
    FtdiStatus GetComPortNumber(FtdiHandle handle, std::int32_t& port) override;

    const FtdiRoots& Roots() const { return m_roots; }

private:
    std::shared_ptr<SerialPort> Find(FtdiHandle handle);

    const FtdiRoots m_roots;
    std::mutex m_lock;  // guards the members below, never held during I/O
    std::vector<FtdiDeviceNode> m_snapshot;  // comPort is the tty's N
    std::map<FtdiHandle, std::shared_ptr<SerialPort>> m_open;
    FtdiHandle m_lastHandle = kNoFtdiHandle;
};

}  // namespace platform
