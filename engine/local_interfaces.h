#pragma once
// Which local interfaces the engine sends through. Internal to the engine.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/addp.h"

// One IPv4 address of one interface, as the system lists it.
struct AddpInterfaceEntry {
    std::string_view name;
    unsigned flags;         // IFF_UP, IFF_MULTICAST, IFF_LOOPBACK, ...
    std::uint32_t address;  // network order
};

// Every address of an interface that is up and can multicast, loopback left out, each once, in
// the order given. When that leaves none, or when only loopback is to be used, 127.0.0.1 alone
// on the first loopback interface that is up; none when there is no such interface either.
std::vector<AddpInterface> AddpSelectInterfaces(std::span<const AddpInterfaceEntry> entries, bool loopbackOnly);

// The selection over the system's own interfaces, honouring AddpUseLoopbackOnly.
std::vector<AddpInterface> AddpLocalInterfaces();
