#include "settings/config_file_format.h"

#include <array>

#include "settings/bounded_text.h"

namespace settings {
namespace {

using Field = std::string ConfigFileValues::*;

struct Line {
    std::string_view key;  // the name, a colon and two spaces
    Field field;
};

constexpr std::array<Line, 6> kLines{{
    {"ip:  ", &ConfigFileValues::ipAddress},
    {"submask:  ", &ConfigFileValues::submask},
    {"gateway:  ", &ConfigFileValues::gateway},
    {"dhcp:  ", &ConfigFileValues::dhcp},
    {"speed:  ", &ConfigFileValues::speed},
    {"serial port profile:  ", &ConfigFileValues::profile},
}};

constexpr char kCr = '\r';

}  // namespace

std::string ConfigFileText(const ConfigFileValues& values) {
    std::string text;
    for (const Line& line : kLines) {
        text += line.key;
        text += values.*line.field;
        text += kCr;
    }
    return text;
}

ConfigFileValues ParseConfigFile(std::string_view text) {
    text = UpToZero(text);
    ConfigFileValues values;
    std::size_t from = 0;
    for (const Line& line : kLines) {
        const std::size_t key = FindFrom(text, line.key, from);
        from = FindFrom(text, {&kCr, 1}, key);
        if (from == kNotFound) break;
        values.*line.field = Between(text, key + line.key.size(), from);
    }
    return values;
}

}  // namespace settings
