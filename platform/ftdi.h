#pragma once
// The FTDI driver operations the USB link is built on: the device-information list, open by
// index, close, read, write, line settings, purge, time-outs and the COM port number.
//
// Every operation returns an FtdiStatus: kOk (0) on success, any other value on failure. No
// operation throws or crashes, also when the device disappears between two calls or during one:
// the call then fails with a non-zero status. A handle stays valid from a successful Open until
// Close; any call with a closed, stale or made-up handle answers kInvalidHandle and does nothing
// else. Handles are never reused within a driver instance.
//
// All operations may be called from any thread. Operations on different handles never wait for
// each other; a Close while another thread reads the same handle ends that read promptly.

#include <array>
#include <cstdint>
#include <span>

namespace platform {

enum class FtdiStatus : std::uint32_t {
    kOk = 0,
    kInvalidHandle = 1,
    kDeviceNotFound = 2,   // no such index in the list, or its device node is gone
    kDeviceBusy = 3,       // another opener holds the device exclusively
    kDeviceNotOpened = 4,  // the node exists but could not be opened or is no serial device
    kIoError = 5,          // the device failed or vanished during the operation
    kInvalidArgument = 6,
    kInvalidBaudRate = 7,
    kWriteTimedOut = 8,  // the write time-out ran out before every byte was taken
};

constexpr bool IsOk(FtdiStatus status) {
    return status == FtdiStatus::kOk;
}

// Opaque; kNoFtdiHandle is never handed out.
using FtdiHandle = std::uint32_t;
constexpr FtdiHandle kNoFtdiHandle = 0;

// One entry of the device-information list. Only what the link reads is carried: enough to
// name a device and pick it without opening it.
struct FtdiDeviceNode {
    std::uint32_t deviceId = 0;  // USB vendor ID << 16 | product ID
    // The device's description: at most 63 bytes, always NUL-terminated.
    std::array<char, 64> description{};
    // The COM port number GetComPortNumber reports once the device is open; -1 for none.
    std::int32_t comPort = -1;
};

// Line-setting codes, passed to SetDataCharacteristics unchanged.
constexpr std::uint8_t kFtdiWordLength7 = 7;
constexpr std::uint8_t kFtdiWordLength8 = 8;
constexpr std::uint8_t kFtdiStopBits1 = 0;
constexpr std::uint8_t kFtdiStopBits2 = 2;
constexpr std::uint8_t kFtdiParityNone = 0;
constexpr std::uint8_t kFtdiParityOdd = 1;
constexpr std::uint8_t kFtdiParityEven = 2;

// Purge masks; kFtdiPurgeRx | kFtdiPurgeTx discards both directions.
constexpr std::uint32_t kFtdiPurgeRx = 1;
constexpr std::uint32_t kFtdiPurgeTx = 2;

class FtdiDriver {
public:
    virtual ~FtdiDriver() = default;

    // Takes a new snapshot of the attached devices and stores its length in `count`. The
    // snapshot is what ReadDeviceList reports and what Open's index refers to, until the next
    // call. Opens no device, so no adapter sees its modem lines move; does not block beyond
    // reading the system's device list.
    // On failure `count` is 0 and the previous snapshot is replaced by an empty one.
    virtual FtdiStatus BuildDeviceList(std::uint32_t& count) = 0;

    // Copies the last snapshot into `nodes`, one node per device in the snapshot's order, and
    // stores the number copied in `count`. A list longer than `nodes` is cut to fit and answers
    // kInvalidArgument; nothing is written past the span. Does not block.
    virtual FtdiStatus ReadDeviceList(std::span<FtdiDeviceNode> nodes, std::uint32_t& count) = 0;

    // Opens the device at `index` of the last snapshot, exclusively: it fails with kDeviceBusy
    // while another opener holds it. `handle` is written only on success. After an open the
    // read and write time-outs are 0 (see Read and Write) and the line is 9600 bit/s, 8N1; the
    // device's own line settings are not touched until the first line setting, read or write.
    // Opening and closing a serial tty still raises and drops its modem lines, which resets
    // some boards: open only the device that is to be used. Does not block.
    virtual FtdiStatus Open(std::uint32_t index, FtdiHandle& handle) = 0;

    // Releases the device. Closing a stale handle answers kInvalidHandle and is harmless.
    virtual FtdiStatus Close(FtdiHandle handle) = 0;

    // Blocks until `buffer` is full or the read time-out has run out, whichever comes first, and
    // stores the number of bytes received in `got`. Running out of time is success, also with
    // nothing received. The bytes are not terminated. On failure `got` still tells how many
    // bytes landed in the buffer before it. A time-out of 0 takes what has already arrived.
    virtual FtdiStatus Read(FtdiHandle handle, std::span<char> buffer, std::uint32_t& got) = 0;

    // Blocks until every byte is taken by the device or the write time-out has run out; stores
    // the number taken in `written`. Bytes left over when the time-out ends answer
    // kWriteTimedOut. A time-out of 0 sends what the device takes at once.
    virtual FtdiStatus Write(FtdiHandle handle, std::span<const char> bytes, std::uint32_t& written) = 0;

    // 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200 bit/s; any other rate
    // answers kInvalidBaudRate and changes nothing. Does not block.
    virtual FtdiStatus SetBaudRate(FtdiHandle handle, std::uint32_t baudRate) = 0;

    // Word length 7 or 8, stop bits kFtdiStopBits1 or kFtdiStopBits2, parity none, odd or even;
    // anything else answers kInvalidArgument and changes nothing. Does not block.
    virtual FtdiStatus SetDataCharacteristics(FtdiHandle handle, std::uint8_t wordLength,
                                              std::uint8_t stopBits, std::uint8_t parity) = 0;

    // Discards what waits in the receive (kFtdiPurgeRx) and/or transmit (kFtdiPurgeTx) buffers.
    // Other mask bits answer kInvalidArgument. Does not block.
    virtual FtdiStatus Purge(FtdiHandle handle, std::uint32_t mask) = 0;

    // Read and write time-outs in milliseconds of program time (platform/time.h), used by every
    // later Read and Write on this handle. Does not block.
    virtual FtdiStatus SetTimeouts(FtdiHandle handle, std::uint32_t readMs, std::uint32_t writeMs) = 0;

    // The COM port number of the open device (on Linux the N of its ttyUSBN node). `port` is
    // written only on success. Does not block.
    virtual FtdiStatus GetComPortNumber(FtdiHandle handle, std::int32_t& port) = 0;
};

// The process-wide driver: the one set with SetDefaultFtdiDriver, otherwise the system's
// (on Linux the sysfs backend, its roots taken from the environment at the first call).
FtdiDriver& DefaultFtdiDriver();

// Makes `driver` the process-wide driver until the next call; nullptr returns to the system's.
// The driver must outlive its use. Meant for tests and the simulated converter; call it while no
// other thread uses the default driver.
void SetDefaultFtdiDriver(FtdiDriver* driver);

}  // namespace platform
