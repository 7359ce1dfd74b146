#include "engine/sockets.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "engine/local_interfaces.h"
#include "platform/time.h"

namespace {

// Room for a burst of about a thousand replies arriving before the worker drains them.
constexpr int kBurstReceiveBuffer = 4 * 1024 * 1024;

void AskForBurstBuffer(int socket) {
    int size = kBurstReceiveBuffer;
    if (setsockopt(socket, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

}  // namespace

std::chrono::nanoseconds AddpDurationOf(const timeval& timeout) {
    return std::chrono::seconds(timeout.tv_sec) + std::chrono::microseconds(timeout.tv_usec);
}

int AddpListLocalAddresses(AddpList* addresses) {
    AddpListClear(addresses);
    for (const AddpInterface& interface : AddpLocalInterfaces()) AddpListAppend(addresses, interface.address);
    return AddpListCount(addresses);
}

int AddpOpenSocket(const AddpSession& session, std::uint32_t localAddress) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd < 0) return -1;

    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = localAddress;
    in_addr interface{};
    interface.s_addr = localAddress;
    const int ttl = session.multicastTtl;
    int nonBlocking = 1;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &interface, sizeof interface) != 0 ||
        setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) != 0 || ioctl(fd, FIONBIO, &nonBlocking) != 0) {
        close(fd);
        return -1;
    }
    AskForBurstBuffer(fd);
    return fd;
}

bool AddpOpenSockets(const AddpSession& session, std::span<const std::uint32_t> addresses,
                     std::vector<int>& sockets) {
    sockets.clear();
    for (const std::uint32_t address : addresses.first(std::min(addresses.size(), kAddpMaxSockets))) {
        const int fd = AddpOpenSocket(session, address);
        if (fd < 0) {
            AddpCloseSockets(sockets);
            return false;
        }
        sockets.push_back(fd);
    }
    return !sockets.empty();
}

bool AddpOpenAllSockets(const AddpSession& session, std::vector<int>& sockets) {
    std::vector<std::uint32_t> addresses;
    for (const AddpInterface& interface : AddpLocalInterfaces()) addresses.push_back(interface.address);
    return AddpOpenSockets(session, addresses, sockets);
}

void AddpCloseSockets(std::vector<int>& sockets) {
    for (const int fd : sockets) close(fd);
    sockets.clear();
}

int AddpSendFrame(const AddpSession& session, std::span<const int> sockets, std::span<const std::uint8_t> datagram) {
    sockaddr_in group{};
    group.sin_family = AF_INET;
    group.sin_addr.s_addr = session.groupAddress;
    group.sin_port = htons(session.port);
    std::size_t sent = 0;
    for (const int fd : sockets) {
        ssize_t bytes;
        do {
            bytes = sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&group),
                           sizeof group);
        } while (bytes < 0 && errno == EINTR);
        if (bytes > 0) sent += static_cast<std::size_t>(bytes);
    }
    return sent == sockets.size() * datagram.size() ? 0 : -1;
}

int AddpWaitReadable(std::span<const int> sockets, const timeval& timeout, std::vector<bool>& readable) {
    const std::size_t watched = std::min(sockets.size(), kAddpMaxSockets);
    pollfd fds[kAddpMaxSockets];
    for (std::size_t i = 0; i < watched; ++i) fds[i] = pollfd{sockets[i], POLLIN, 0};

    // A signal that interrupts the wait is no failure: wait on for what is left of it.
    const auto deadline = platform::Clock::now() + platform::Scaled(AddpDurationOf(timeout));
    int ready;
    do {
        const auto left = std::max(std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - platform::Clock::now()),
                                   std::chrono::nanoseconds::zero());
        const timespec limit{static_cast<time_t>(left.count() / 1'000'000'000),
                             static_cast<long>(left.count() % 1'000'000'000)};
        ready = ppoll(fds, watched, &limit, nullptr);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return -1;
    readable.assign(sockets.size(), false);
    for (std::size_t i = 0; i < watched; ++i) readable[i] = (fds[i].revents & (POLLIN | POLLERR)) != 0;
    return ready;
}

int AddpReceiveReply(const AddpSession& session, int socket, std::uint16_t expectedType,
                     const std::uint8_t macFilter[6], AddpReplyRecord& record) {
    std::uint8_t buffer[kAddpReceiveBufferSize];
    // MSG_TRUNC reports the datagram's real length, so one too long for the buffer is noticed.
    ssize_t length;
    do {
        length = recv(socket, buffer, sizeof buffer, MSG_TRUNC);
    } while (length < 0 && errno == EINTR);
    if (length <= 0 || static_cast<std::size_t>(length) > sizeof buffer) return -1;

    if (!AddpParseReply(session.magic, expectedType, std::span(buffer, static_cast<std::size_t>(length)), record))
        return -1;
    if (!(record.device.present & AddpPresentMac)) return -1;
    if (!AddpIsEveryModule(macFilter) && std::memcmp(macFilter, record.device.mac, 6) != 0) return -1;

    sockaddr_in own{};
    socklen_t ownLength = sizeof own;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&own), &ownLength) != 0 || own.sin_family != AF_INET)
        return -1;
    record.device.localAddress = own.sin_addr.s_addr;
    return 0;
}
