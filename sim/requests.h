#pragma once
// The requests a module understands, decoded from the datagrams that reach it. Pure.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "sim/module.h"

namespace sim {

struct Request {
    std::uint16_t type = 0;  // 1 discovery, 3 static settings, 5 reboot, 7 DHCP
    Mac target{};
    // Static settings (type 3), network order.
    std::uint32_t ipAddress = 0;
    std::uint32_t subnetMask = 0;
    std::uint32_t gateway = 0;
    std::uint8_t dhcpFlag = 0;  // type 7
    std::string password;       // types 3, 5, 7
};

// Nothing when the datagram is not a whole request of a known type with this magic: short, a
// payload or password running past the datagram, or a payload too short for its type. Bytes
// after what the type needs are ignored. Never reads outside `datagram`.
std::optional<Request> ParseRequest(std::uint32_t magic, std::span<const std::uint8_t> datagram);

bool IsEveryModule(const Mac& mac);

}  // namespace sim
