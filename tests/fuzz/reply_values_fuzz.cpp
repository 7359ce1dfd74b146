// Feeds arbitrary replies to the "show" reply readers and checks what they promise: a value is a
// word of the reply itself, and a position is one the list has.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "settings/reply_values.h"
#include "settings/value_tables.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void RequireWithin(std::optional<int> position, std::size_t count) {
    Require(!position || (*position >= 0 && static_cast<std::size_t>(*position) < count));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy: a read past the reply is a read past the allocation.
    const std::vector<char> bytes(data, data + size);
    const std::string_view reply(bytes.data(), bytes.size());
    for (const std::string_view keyword : {"ipaddress", "submask", "gateway", "dhcp"}) {
        const std::string_view value = settings::ExtractColonValue(reply, keyword);
        if (value.empty()) continue;
        Require(value.data() >= reply.data() && value.data() + value.size() <= reply.data() + reply.size());
        Require(value.find_first_of(std::string_view(" \r\0", 3)) == std::string_view::npos);
    }
    RequireWithin(settings::ParseDhcp(reply), settings::kDhcpModes.size());
    RequireWithin(settings::ParseEthernetSpeed(reply), settings::kEthernetSpeeds.size());
    RequireWithin(settings::ParseSerialProfile(reply), settings::kSerialProfiles.size());
    return 0;
}
