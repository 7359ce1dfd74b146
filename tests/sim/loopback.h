#pragma once
// What the simulator tests need of the network: a client socket on a loopback address that talks
// to a simulator the way the engine does.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/frames.h"

namespace simtest {

struct Datagram {
    std::vector<std::uint8_t> bytes;
    std::chrono::steady_clock::duration after;  // since the client last sent
};

// A UDP socket bound to a loopback address, sending through loopback to the discovery group.
class LoopbackClient {
public:
    explicit LoopbackClient(const char* address = "127.0.0.1");
    ~LoopbackClient();
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    std::uint32_t Address() const { return m_address; }  // network order
    std::uint16_t Port() const { return m_port; }        // host order

    void SendToGroup(std::span<const std::uint8_t> bytes, std::uint16_t port);
    // The next datagram, waiting up to the timeout (real time).
    std::optional<Datagram> Receive(std::chrono::milliseconds timeout);
    // Every datagram until none has come for `quiet`.
    std::vector<Datagram> ReceiveUntilQuiet(std::chrono::milliseconds quiet = std::chrono::milliseconds(150));

private:
    int m_socket = -1;
    std::uint32_t m_address = 0;
    std::uint16_t m_port = 0;
    std::chrono::steady_clock::time_point m_sent;
};

// The reply decoded by the engine's own decoder, or nothing when it refuses it.
std::optional<AddpReplyRecord> Decode(std::uint16_t type, std::span<const std::uint8_t> bytes);

}  // namespace simtest
