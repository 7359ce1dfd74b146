#pragma once
// Line settings of the FTDI driver operations as termios sees them. Used by the Linux FTDI
// backend only; kept apart so that the mapping can be checked without a device (a
// pseudo-terminal, for one, ignores parity).

#include <termios.h>

#include <cstdint>
#include <optional>

namespace platform {

struct LineSettings {
    std::uint32_t baudRate = 9600;
    std::uint8_t wordLength = 8;
    std::uint8_t stopBits = 0;  // FTDI codes: 0 one stop bit, 2 two
    std::uint8_t parity = 0;    // 0 none, 1 odd, 2 even
};

// The termios speed for one of the supported rates.
std::optional<speed_t> BaudConstant(std::uint32_t baudRate);

// Turns `settings` into raw mode with these line settings, no flow control, the modem lines
// ignored, and reads that wait for at least one byte (the caller polls). False, with `settings`
// unchanged, when the line settings are not supported.
bool MakeRawTermios(const LineSettings& line, termios& settings);

// Whether the device carries the line as `wanted` asked: speed, word length, stop bits, parity,
// raw mode, no flow control. A pseudo-terminal has no wire and drops the parity-enable flag, so
// with `parityOptional` only its odd/even choice is compared.
bool LineMatches(const termios& applied, const termios& wanted, bool parityOptional);

}  // namespace platform
