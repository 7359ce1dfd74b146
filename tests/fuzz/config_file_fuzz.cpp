// Feeds arbitrary files to the configuration-file reader and checks what it promises of the
// values: each lies on one line, and writing them out and reading them back changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/config_file_format.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void RequireOneLine(const std::string& value) { Require(value.find_first_of(std::string("\r\0", 2)) == std::string::npos); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy: a read past the file is a read past the allocation.
    const std::vector<char> file(data, data + size);
    const settings::ConfigFileValues values = settings::ParseConfigFile({file.data(), file.size()});
    for (const std::string* value :
         {&values.ipAddress, &values.submask, &values.gateway, &values.dhcp, &values.speed, &values.profile})
        RequireOneLine(*value);
    Require(settings::ParseConfigFile(settings::ConfigFileText(values)) == values);
    return 0;
}
