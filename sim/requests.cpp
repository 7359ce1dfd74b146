#include "sim/requests.h"

#include <algorithm>
#include <cstring>

#include "engine/byte_reader.h"
#include "engine/frames.h"

namespace sim {
namespace {

using addp::ByteReader;
using Bytes = std::span<const std::uint8_t>;

bool ReadMac(ByteReader& reader, Mac& mac) {
    Bytes bytes;
    if (!reader.Take(mac.size(), bytes)) return false;
    std::copy(bytes.begin(), bytes.end(), mac.begin());
    return true;
}

// Kept as it lay on the wire, so network order stays network order.
bool ReadAddress(ByteReader& reader, std::uint32_t& address) {
    Bytes bytes;
    if (!reader.Take(4, bytes)) return false;
    std::memcpy(&address, bytes.data(), 4);
    return true;
}

bool ReadPassword(ByteReader& reader, std::string& password) {
    std::uint8_t length = 0;
    Bytes bytes;
    if (!reader.ReadU8(length) || !reader.Take(length, bytes)) return false;
    password.assign(bytes.begin(), bytes.end());
    return true;
}

}  // namespace

std::optional<Request> ParseRequest(std::uint32_t magic, std::span<const std::uint8_t> datagram) {
    ByteReader header(datagram);
    std::uint32_t datagramMagic = 0;
    std::uint16_t payloadLength = 0;
    Request request;
    Bytes payload;
    if (!header.ReadU32(datagramMagic) || datagramMagic != magic || !header.ReadU16(request.type) ||
        !header.ReadU16(payloadLength) || !header.Take(payloadLength, payload))
        return std::nullopt;

    ByteReader reader(payload);
    bool whole = false;
    switch (request.type) {
        case AddpDiscoveryRequest:
            whole = ReadMac(reader, request.target);
            break;
        case AddpNetworkRequest:
            whole = ReadAddress(reader, request.ipAddress) && ReadAddress(reader, request.subnetMask) &&
                    ReadAddress(reader, request.gateway) && ReadMac(reader, request.target) &&
                    ReadPassword(reader, request.password);
            break;
        case AddpRebootRequest:
            whole = ReadMac(reader, request.target) && ReadPassword(reader, request.password);
            break;
        case AddpDhcpRequest:
            whole = reader.ReadU8(request.dhcpFlag) && ReadMac(reader, request.target) &&
                    ReadPassword(reader, request.password);
            break;
        default:
            break;
    }
    if (!whole) return std::nullopt;
    return request;
}

bool IsEveryModule(const Mac& mac) {
    return std::all_of(mac.begin(), mac.end(), [](std::uint8_t byte) { return byte == 0xff; });
}

}  // namespace sim
