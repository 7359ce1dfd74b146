#include "sim/faults.h"

#include <algorithm>

#include "engine/frames.h"

namespace sim {
namespace {

void Overwrite16(std::vector<std::uint8_t>& datagram, std::size_t at, std::uint16_t value) {
    datagram[at] = static_cast<std::uint8_t>(value >> 8);
    datagram[at + 1] = static_cast<std::uint8_t>(value);
}

std::uint16_t Read16(const std::vector<std::uint8_t>& datagram, std::size_t at) {
    return static_cast<std::uint16_t>(datagram[at] << 8 | datagram[at + 1]);
}

// One byte short of an address: the IP field in place, or an extra one after the MAC when the
// reply (a configuration reply) carries none.
void ShortenAddress(std::vector<ReplyField>& fields) {
    const auto ip = std::find_if(fields.begin(), fields.end(),
                                 [](const ReplyField& field) { return field.code == AddpFieldIpAddress; });
    if (ip != fields.end()) {
        ip->value.resize(3);
        return;
    }
    const auto mac = std::find_if(fields.begin(), fields.end(),
                                  [](const ReplyField& field) { return field.code == AddpFieldMac; });
    fields.insert(mac == fields.end() ? fields.begin() : mac + 1, ReplyField{AddpFieldIpAddress, {10, 0, 0}});
}

}  // namespace

std::vector<std::vector<std::uint8_t>> ApplyFaults(const Faults& faults, std::uint32_t magic,
                                                   ReplyFrame reply) {
    if (faults.answerAsMac) {
        for (ReplyField& field : reply.fields)
            if (field.code == AddpFieldMac)
                field.value.assign(faults.answerAsMac->begin(), faults.answerAsMac->end());
    }
    if (faults.badFieldLength) ShortenAddress(reply.fields);

    std::vector<std::uint8_t> answer = EncodeReply(faults.magic.value_or(magic), reply);
    if (faults.replyType) Overwrite16(answer, 4, *faults.replyType);
    if (faults.payloadPastEnd) Overwrite16(answer, 6, static_cast<std::uint16_t>(Read16(answer, 6) + 16));

    std::vector<std::vector<std::uint8_t>> datagrams;
    // A discovery request is what another client on the LAN might send: well formed, but no reply.
    if (faults.strayAhead) datagrams.push_back(AddpBuildDiscoveryRequest(magic, kAddpEveryModule));
    for (int i = 0; i < faults.copies; ++i) datagrams.push_back(answer);
    return datagrams;
}

bool Hears(const Faults& faults, std::uint32_t sourceAddress) {
    return !faults.silent && (!faults.onlyFrom || *faults.onlyFrom == sourceAddress);
}

}  // namespace sim
