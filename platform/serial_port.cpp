#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>

#include "platform/time.h"

namespace platform {
namespace {

FtdiStatus OpenFailure(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return FtdiStatus::kDeviceNotFound;
        case EBUSY:
            return FtdiStatus::kDeviceBusy;
        default:
            return FtdiStatus::kDeviceNotOpened;
    }
}

// Linux numbers the slaves of its pseudo-terminals with majors 136 to 143.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kPtySlaveMajors = 8;

int PollMilliseconds(std::chrono::steady_clock::duration remaining) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
    return static_cast<int>(std::clamp<decltype(ms)>(ms, 0, INT_MAX));
}

}  // namespace

FtdiStatus SerialPort::Open(const std::filesystem::path& node, std::int32_t comPort,
                            std::shared_ptr<SerialPort>& port) {
    const int fd = ::open(node.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return OpenFailure(errno);
    termios current{};
    if (::tcgetattr(fd, &current) != 0) {  // not a tty
        ::close(fd);
        return FtdiStatus::kDeviceNotOpened;
    }
    // Root may open a tty that someone else holds with TIOCEXCL; honour their hold all the same.
    int heldElsewhere = 0;
    if (::ioctl(fd, TIOCGEXCL, &heldElsewhere) == 0 && heldElsewhere != 0) {
        ::close(fd);
        return FtdiStatus::kDeviceBusy;
    }
    // The lock closes the window between two openers of ours that both found the tty free.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? FtdiStatus::kDeviceBusy : FtdiStatus::kDeviceNotOpened;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return FtdiStatus::kDeviceNotOpened;
    }
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return FtdiStatus::kDeviceNotOpened;
    }
    port.reset(new SerialPort(fd, wake, comPort));
    return FtdiStatus::kOk;
}

SerialPort::SerialPort(int fd, int wake, std::int32_t comPort) : m_fd(fd), m_wake(wake), m_comPort(comPort) {
    struct stat node {};
    m_pseudoTerminal = ::fstat(fd, &node) == 0 && major(node.st_rdev) >= kFirstPtySlaveMajor &&
                       major(node.st_rdev) < kFirstPtySlaveMajor + kPtySlaveMajors;
}

SerialPort::~SerialPort() {
    // The exclusive flag belongs to the tty, not to our descriptor: clear it or the next opener
    // finds the device busy for as long as anyone else keeps it open.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    ::close(m_wake);
}

void SerialPort::Shutdown() {
    m_shutdown.store(true);
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(m_wake, &one, sizeof one);
}

FtdiStatus SerialPort::Apply(const LineSettings& line) {
    termios settings{};
    if (::tcgetattr(m_fd, &settings) != 0) return FtdiStatus::kIoError;
    if (!MakeRawTermios(line, settings)) return FtdiStatus::kInvalidArgument;
    // tcsetattr succeeds when any part of the request took, and fails when none did although
    // the device carries the line as asked (a pseudo-terminal asked for parity): read the line
    // back and judge by that.
    if (::tcsetattr(m_fd, TCSANOW, &settings) != 0 && errno != EINVAL) return FtdiStatus::kIoError;
    termios applied{};
    if (::tcgetattr(m_fd, &applied) != 0) return FtdiStatus::kIoError;
    if (!LineMatches(applied, settings, m_pseudoTerminal)) return FtdiStatus::kIoError;
    m_line = line;
    m_configured = true;
    return FtdiStatus::kOk;
}

FtdiStatus SerialPort::EnsureConfigured() {
    std::lock_guard lock(m_lineLock);
    return m_configured ? FtdiStatus::kOk : Apply(m_line);
}

FtdiStatus SerialPort::SetBaudRate(std::uint32_t baudRate) {
    if (m_shutdown.load()) return FtdiStatus::kInvalidHandle;
    if (!BaudConstant(baudRate)) return FtdiStatus::kInvalidBaudRate;
    std::lock_guard lock(m_lineLock);
    LineSettings line = m_line;
    line.baudRate = baudRate;
    return Apply(line);
}

FtdiStatus SerialPort::SetFraming(std::uint8_t wordLength, std::uint8_t stopBits, std::uint8_t parity) {
    if (m_shutdown.load()) return FtdiStatus::kInvalidHandle;
    std::lock_guard lock(m_lineLock);
    LineSettings line = m_line;
    line.wordLength = wordLength;
    line.stopBits = stopBits;
    line.parity = parity;
    return Apply(line);
}

FtdiStatus SerialPort::Purge(std::uint32_t mask) {
    if (m_shutdown.load()) return FtdiStatus::kInvalidHandle;
    if ((mask & ~(kFtdiPurgeRx | kFtdiPurgeTx)) != 0) return FtdiStatus::kInvalidArgument;
    if (mask == 0) return FtdiStatus::kOk;
    const int queue = mask == (kFtdiPurgeRx | kFtdiPurgeTx) ? TCIOFLUSH
                      : mask == kFtdiPurgeRx                ? TCIFLUSH
                                                            : TCOFLUSH;
    return ::tcflush(m_fd, queue) == 0 ? FtdiStatus::kOk : FtdiStatus::kIoError;
}

void SerialPort::SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) {
    m_readTimeoutMs.store(readMs);
    m_writeTimeoutMs.store(writeMs);
}

SerialPort::Wait SerialPort::WaitFor(short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto remaining = deadline - Clock::now();
        if (remaining <= Clock::duration::zero()) return Wait::kTimedOut;
        pollfd fds[2] = {{m_fd, events, 0}, {m_wake, POLLIN, 0}};
        const int ready = ::poll(fds, 2, PollMilliseconds(remaining));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return Wait::kFailed;
        }
        if (fds[1].revents != 0 || m_shutdown.load()) return Wait::kClosed;
        if ((fds[0].revents & events) != 0) return Wait::kReady;
        // Hung up or failed with nothing left to read: the device is gone.
        if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return Wait::kFailed;
    }
}

FtdiStatus SerialPort::Read(std::span<char> buffer, std::uint32_t& got) {
    got = 0;
    if (m_shutdown.load()) return FtdiStatus::kInvalidHandle;
    if (const FtdiStatus status = EnsureConfigured(); !IsOk(status)) return status;
    const std::size_t wanted = std::min<std::size_t>(buffer.size(), UINT32_MAX);
    const auto deadline = DeadlineAfter(std::chrono::milliseconds(m_readTimeoutMs.load()));
    std::size_t total = 0;
    FtdiStatus status = FtdiStatus::kOk;
    while (total < wanted) {
        const ssize_t count = ::read(m_fd, buffer.data() + total, wanted - total);
        if (count > 0) {
            total += static_cast<std::size_t>(count);
            continue;
        }
        // With VMIN 1 and O_NONBLOCK an idle line answers EAGAIN; 0 means the tty hung up.
        if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
            status = FtdiStatus::kIoError;
            break;
        }
        if (errno == EINTR) continue;
        const Wait wait = WaitFor(POLLIN, deadline);
        if (wait == Wait::kTimedOut) break;
        if (wait == Wait::kClosed) {
            status = FtdiStatus::kInvalidHandle;
            break;
        }
        if (wait == Wait::kFailed) {
            status = FtdiStatus::kIoError;
            break;
        }
    }
    got = static_cast<std::uint32_t>(total);
    return status;
}

FtdiStatus SerialPort::Write(std::span<const char> bytes, std::uint32_t& written) {
    written = 0;
    if (m_shutdown.load()) return FtdiStatus::kInvalidHandle;
    if (const FtdiStatus status = EnsureConfigured(); !IsOk(status)) return status;
    const std::size_t wanted = std::min<std::size_t>(bytes.size(), UINT32_MAX);
    const auto deadline = DeadlineAfter(std::chrono::milliseconds(m_writeTimeoutMs.load()));
    std::size_t total = 0;
    FtdiStatus status = FtdiStatus::kOk;
    while (total < wanted) {
        const ssize_t count = ::write(m_fd, bytes.data() + total, wanted - total);
        if (count > 0) {
            total += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count == 0 || errno != EAGAIN) {
            status = FtdiStatus::kIoError;
            break;
        }
        const Wait wait = WaitFor(POLLOUT, deadline);
        if (wait == Wait::kTimedOut) {
            status = FtdiStatus::kWriteTimedOut;
            break;
        }
        if (wait != Wait::kReady) {
            status = wait == Wait::kClosed ? FtdiStatus::kInvalidHandle : FtdiStatus::kIoError;
            break;
        }
    }
    written = static_cast<std::uint32_t>(total);
    return status;
}

}  // namespace platform
