#pragma once
// How a converter's record is shown: one tab-separated line for people, one JSON object per line
// for scripts.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/addp.h"

namespace tq7ctl {

// "00:40:9d:01:02:03", lower-case.
std::string MacText(const std::uint8_t mac[6]);

// An address in network order as "192.168.1.10".
std::string Ipv4Text(std::uint32_t address);

// A record's text field up to its terminator, never past the field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0') ++length;
    return {field, length};
}

// The converters of this family report their network module's name; people know them by ours.
std::string_view ShownModelName(const AddpDevice& device);

// A converter's text (Latin-1) as a JSON string with its quotes. Quotes and backslashes are
// escaped; control characters, DEL and every byte above it are written as \u escapes of the
// character the byte stands for, so the output is plain ASCII and valid JSON.
std::string JsonString(std::string_view text);

// A converter's text (Latin-1) for a terminal line, in UTF-8: control characters (C0, DEL and
// C1) as \xNN and the backslash doubled, so a name cannot break the columns or the line.
std::string PlainText(std::string_view text);

// IP address, MAC, name and shown model, tab-separated, without a line end.
std::string DeviceLine(const AddpDevice& device);

// Every field of the record under its own name, in record order, without a line end.
std::string DeviceJson(const AddpDevice& device);

}  // namespace tq7ctl
