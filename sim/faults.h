#pragma once
// Turns a module's good answer into what a faulty module actually sends. Pure; the delay and
// the silent and source filters are applied by the simulator, which owns the clock and sockets.

#include <cstdint>
#include <vector>

#include "sim/module.h"
#include "sim/replies.h"

namespace sim {

// The datagrams to send for one answer, in order: the stray datagram first when asked for, then
// the answer `copies` times (none when copies is below 1).
std::vector<std::vector<std::uint8_t>> ApplyFaults(const Faults& faults, std::uint32_t magic,
                                                   ReplyFrame reply);

// Whether a request from this source address (network order) reaches the module at all.
bool Hears(const Faults& faults, std::uint32_t sourceAddress);

}  // namespace sim
