#pragma once
// Writing lines to the converter's console and collecting its replies. The console takes the
// login lines in one write each, but commands only one byte at a time.

#include <string_view>

#include "platform/ftdi.h"

// One write of every byte, to the link; the result goes to lastStatus. True on success.
bool UsbWriteLine(std::string_view bytes);

// One write per byte to `handle`, each result stored in `status`. Every byte is written even after
// a failure, so only the last one's result counts; with no bytes `status` keeps its value.
// Returns `status`.
platform::FtdiStatus WriteByteByByte(platform::FtdiHandle handle, std::string_view bytes,
                                     platform::FtdiStatus& status);

// WriteByteByByte to the link, its results going to lastStatus. True when the last byte went.
bool UsbWriteCommand(std::string_view bytes);

// Clears the receive buffer and reads once: the reply is then UsbReplyText. True on success.
bool UsbReadReply();
