#pragma once
// The one USB link of the program: the converter's FTDI bridge, opened by the connect worker and
// closed by whoever ends the session. The state lives for the whole run, also while the
// Configuration via USB window is closed, and has no lock: the modal progress panel keeps the
// user-interface thread and the one running worker off the link at the same time.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/ftdi.h"

inline constexpr std::uint32_t kRxBufferSize = 6000;
// vendor 0x0403, product 0x6009: the converter's bridge
inline constexpr std::uint32_t kConverterDeviceId = 0x04036009;

// Error states the console exchanges and the window act on.
inline constexpr std::int32_t kNoError = 0;
inline constexpr std::int32_t kLinkFailed = 1;  // the link or the login failed, or nothing to work on
inline constexpr std::int32_t kSetRefused = 2;  // the converter answered a "set" command with an error

struct UsbLinkState {
    platform::FtdiHandle handle = platform::kNoFtdiHandle;  // kNoFtdiHandle: not open
    platform::FtdiStatus lastStatus = platform::FtdiStatus::kOk;
    std::int32_t errorState = kNoError;

    // Used at the next open, as the driver's codes; latched from the window's lists.
    std::uint32_t baudRate = 9600;
    std::uint32_t wordLength = platform::kFtdiWordLength8;
    std::uint32_t stopBits = platform::kFtdiStopBits1;
    std::uint32_t parity = platform::kFtdiParityNone;

    // One byte more than a read may fill, and that byte is never written: a full buffer still
    // ends in NUL for code that takes the reply as text.
    std::array<char, kRxBufferSize + 1> rxBuffer{};
    std::uint32_t rxSize = kRxBufferSize;  // bytes each read asks for; never more than kRxBufferSize
    std::uint32_t rxCount = 0;             // bytes the last read delivered

    std::vector<platform::FtdiDeviceNode> deviceNodes;  // of the last enumeration that found devices
    std::uint32_t deviceCount = 0;                      // length of the driver's list
};

extern UsbLinkState g_usbLink;

bool UsbIsOpen();

// Zeroes the bytes a read may fill.
void ClearReceiveBuffer();

// One read of rxSize bytes into rxBuffer: returns when they have all arrived or the read time-out
// has run out, whichever comes first. Stores the result in lastStatus and the count in rxCount.
// Blocks; the caller clears the buffer first when it takes the reply as text.
platform::FtdiStatus UsbRead();

// The reply of the last read as text: the bytes received, up to the first NUL, never more than
// rxCount.
std::string_view UsbReplyText();

// Discards what waits in the driver's receive and transmit buffers. The result is not kept.
void UsbPurge();

// Closes the link; a link that is not open is left alone. The result is not kept.
void UsbClose();

// Shows the connection-error message and records the link failure. Any thread.
void ReportConnectionError();
