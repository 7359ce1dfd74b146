#pragma once
// The host's IPv4 interface addresses, for joining the discovery group on each of them.

#include <cstdint>
#include <vector>

namespace sim {

// The address of every IPv4 interface that is up, loopback included, each once, in the order the
// system lists them; network order.
std::vector<std::uint32_t> LocalIpv4Interfaces();

}  // namespace sim
