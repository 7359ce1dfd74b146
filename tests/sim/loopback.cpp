#include "tests/sim/loopback.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace simtest {

LoopbackClient::LoopbackClient(const char* address) {
    m_socket = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, address, &local.sin_addr);
    in_addr loopback{};
    inet_pton(AF_INET, "127.0.0.1", &loopback);
    // Time-to-live 0: looped back to this host's members of the group, never put on a wire.
    const int ttl = 0;
    socklen_t length = sizeof local;
    if (m_socket < 0 || bind(m_socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        setsockopt(m_socket, IPPROTO_IP, IP_MULTICAST_IF, &loopback, sizeof loopback) != 0 ||
        setsockopt(m_socket, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) != 0 ||
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        throw std::runtime_error(std::string("cannot set up a client socket on ") + address);
    m_address = local.sin_addr.s_addr;
    m_port = ntohs(local.sin_port);
}

LoopbackClient::~LoopbackClient() {
    if (m_socket >= 0) close(m_socket);
}

void LoopbackClient::SendToGroup(std::span<const std::uint8_t> bytes, std::uint16_t port) {
    sockaddr_in group{};
    group.sin_family = AF_INET;
    inet_pton(AF_INET, "224.0.5.128", &group.sin_addr);
    group.sin_port = htons(port);
    m_sent = std::chrono::steady_clock::now();
    if (sendto(m_socket, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&group),
               sizeof group) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot send to the group");
}

std::optional<Datagram> LoopbackClient::Receive(std::chrono::milliseconds timeout) {
    pollfd fd{m_socket, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(timeout.count())) <= 0) return std::nullopt;
    std::vector<std::uint8_t> buffer(65536);
    const ssize_t length = recv(m_socket, buffer.data(), buffer.size(), 0);
    if (length < 0) return std::nullopt;
    buffer.resize(static_cast<std::size_t>(length));
    return Datagram{std::move(buffer), std::chrono::steady_clock::now() - m_sent};
}

std::vector<Datagram> LoopbackClient::ReceiveUntilQuiet(std::chrono::milliseconds quiet) {
    std::vector<Datagram> datagrams;
    while (auto datagram = Receive(quiet)) datagrams.push_back(std::move(*datagram));
    return datagrams;
}

std::optional<AddpReplyRecord> Decode(std::uint16_t type, std::span<const std::uint8_t> bytes) {
    AddpReplyRecord record;
    AddpInitReplyRecord(record);
    if (!AddpParseReply(kAddpMagicDigi, type, bytes, record)) return std::nullopt;
    return record;
}

}  // namespace simtest
