#pragma once
// One open serial tty of the Linux FTDI backend: exclusive open, lazy raw mode, reads and writes
// bounded by program time. Used by the Linux FTDI backend only.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>

#include "platform/ftdi.h"
#include "platform/ftdi_termios.h"

namespace platform {

class SerialPort {
public:
    // Opens `node` exclusively (kDeviceBusy while another opener holds it) without changing its
    // settings. `port` is set only on success.
    static FtdiStatus Open(const std::filesystem::path& node, std::int32_t comPort,
                           std::shared_ptr<SerialPort>& port);

    ~SerialPort();  // gives up the exclusive hold and closes the device
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Ends a read or write blocked in another thread; every later call fails with kInvalidHandle.
    void Shutdown();

    FtdiStatus SetBaudRate(std::uint32_t baudRate);
    FtdiStatus SetFraming(std::uint8_t wordLength, std::uint8_t stopBits, std::uint8_t parity);
    FtdiStatus Purge(std::uint32_t mask);
    void SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs);
    FtdiStatus Read(std::span<char> buffer, std::uint32_t& got);
    FtdiStatus Write(std::span<const char> bytes, std::uint32_t& written);
    std::int32_t ComPort() const { return m_comPort; }

private:
    SerialPort(int fd, int wake, std::int32_t comPort);

    FtdiStatus Apply(const LineSettings& line);  // with m_lineLock held
    FtdiStatus EnsureConfigured();
    // Waits for `events` on the device until `deadline`, or until Shutdown or a hang-up.
    enum class Wait { kReady, kTimedOut, kClosed, kFailed };
    Wait WaitFor(short events, std::chrono::steady_clock::time_point deadline);

    const int m_fd;
    const int m_wake;  // eventfd that Shutdown signals
    const std::int32_t m_comPort;
    bool m_pseudoTerminal = false;  // a simulated converter: no wire, so no parity
    std::atomic<bool> m_shutdown{false};
    std::atomic<std::uint32_t> m_readTimeoutMs{0};
    std::atomic<std::uint32_t> m_writeTimeoutMs{0};
    std::mutex m_lineLock;
    LineSettings m_line;
    bool m_configured = false;
};

}  // namespace platform
