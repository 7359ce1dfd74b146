#include "engine/local_interfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

std::atomic<bool> g_loopbackOnly{false};

AddpInterface Interface(std::string_view name, std::uint32_t address) {
    AddpInterface chosen{};
    chosen.address = address;
    const std::size_t length = std::min(name.size(), sizeof chosen.name - 1);
    std::memcpy(chosen.name, name.data(), length);
    return chosen;
}

bool Listed(const std::vector<AddpInterface>& chosen, std::uint32_t address) {
    return std::any_of(chosen.begin(), chosen.end(),
                       [&](const AddpInterface& interface) { return interface.address == address; });
}

}  // namespace

std::vector<AddpInterface> AddpSelectInterfaces(std::span<const AddpInterfaceEntry> entries, bool loopbackOnly) {
    std::vector<AddpInterface> chosen;
    const auto usable = [](unsigned flags) { return (flags & IFF_UP) && (flags & IFF_MULTICAST); };
    if (!loopbackOnly)
        for (const AddpInterfaceEntry& entry : entries)
            if (usable(entry.flags) && !(entry.flags & IFF_LOOPBACK) && !Listed(chosen, entry.address))
                chosen.push_back(Interface(entry.name, entry.address));
    if (!chosen.empty()) return chosen;

    // A host without a network reaches only itself. Linux does not mark loopback as able to
    // multicast, yet multicast through it works.
    const auto loopback = std::find_if(entries.begin(), entries.end(), [](const AddpInterfaceEntry& entry) {
        return (entry.flags & IFF_LOOPBACK) && (entry.flags & IFF_UP);
    });
    if (loopback != entries.end()) chosen.push_back(Interface(loopback->name, htonl(INADDR_LOOPBACK)));
    return chosen;
}

std::vector<AddpInterface> AddpLocalInterfaces() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    std::vector<AddpInterfaceEntry> entries;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next)
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET)
            entries.push_back({entry->ifa_name, entry->ifa_flags,
                               reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr});
    std::vector<AddpInterface> chosen = AddpSelectInterfaces(entries, g_loopbackOnly);
    freeifaddrs(list);
    return chosen;
}

int AddpGetLocalInterfaces(AddpInterface* interfaces, int capacity) {
    if (interfaces == nullptr || capacity <= 0) return -1;
    const std::vector<AddpInterface> chosen = AddpLocalInterfaces();
    const std::size_t count = std::min(chosen.size(), static_cast<std::size_t>(capacity));
    std::copy_n(chosen.begin(), count, interfaces);
    return static_cast<int>(count);
}

void AddpUseLoopbackOnly(bool on) { g_loopbackOnly = on; }
