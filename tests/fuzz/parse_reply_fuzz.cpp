// Feeds arbitrary datagrams to the reply decoder and checks what it promises of a record.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "engine/frames.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void RequireTerminated(const char (&text)[256]) { Require(strnlen(text, sizeof text) < sizeof text); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy: a read past the datagram is a read past the allocation.
    const std::vector<std::uint8_t> datagram(data, data + size);
    for (const std::uint16_t type : {AddpDiscoveryReply, AddpNetworkReply, AddpRebootReply, AddpDhcpReply}) {
        AddpReplyRecord record;
        AddpInitReplyRecord(record);
        const bool good = AddpParseReply(kAddpMagicDigi, type, datagram, record);
        const AddpDevice& device = record.device;
        RequireTerminated(device.name);
        RequireTerminated(device.domain);
        RequireTerminated(device.firmware);
        RequireTerminated(device.modelName);
        RequireTerminated(record.resultMessage);
        Require(device.ext224Length <= sizeof device.ext224);
        Require(device.ext229Length <= sizeof device.ext229);
        if (good && size >= 8) Require(((datagram[4] << 8) | datagram[5]) == type);
    }
    return 0;
}
