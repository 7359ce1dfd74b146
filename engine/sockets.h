#pragma once
// The socket layer of discovery runs and requests: the local interfaces, one UDP socket per
// interface, sending a request to the group and accepting one reply. Internal to the engine.

#include <sys/time.h>

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/addp_list.h"
#include "engine/frames.h"
#include "engine/session.h"

// Hosts with more interfaces than this use only the first ones.
constexpr std::size_t kAddpMaxSockets = kAddpMaxInterfaces;
constexpr std::size_t kAddpReceiveBufferSize = 1456;

// A poll timeout as a program duration (see platform::Scaled).
std::chrono::nanoseconds AddpDurationOf(const timeval& timeout);

// Fills the list with the addresses (network order) of the local interfaces to send through, each
// once, in the system's order (see AddpSelectInterfaces); returns how many.
int AddpListLocalAddresses(AddpList* addresses);

// A non-blocking UDP socket bound to the local address (any port) that sends multicast through
// that interface; -1 when any step fails.
int AddpOpenSocket(const AddpSession& session, std::uint32_t localAddress);

// One socket per address, for the first 64 of them, all or none: false (and no socket) when there
// is no address or one of them cannot be opened.
bool AddpOpenSockets(const AddpSession& session, std::span<const std::uint32_t> addresses,
                     std::vector<int>& sockets);
// The same for every local address.
bool AddpOpenAllSockets(const AddpSession& session, std::vector<int>& sockets);
void AddpCloseSockets(std::vector<int>& sockets);

// Sends the datagram to the group through every socket; 0 when each sent it whole, else -1.
int AddpSendFrame(const AddpSession& session, std::span<const int> sockets, std::span<const std::uint8_t> datagram);

// Waits up to the (program) timeout until one of the first 64 sockets is readable; a wait
// interrupted by a signal goes on for the time left. Returns the number of readable sockets, with
// `readable` marking them, 0 on time-out, -1 when the wait failed.
int AddpWaitReadable(std::span<const int> sockets, const timeval& timeout, std::vector<bool>& readable);

// Reads one datagram and accepts it into the record when it is a good reply of the expected type
// that carries a MAC matching the filter (FF:FF:FF:FF:FF:FF matches any). The record's
// localAddress is set to the socket's own address. 0 when accepted, -1 otherwise.
int AddpReceiveReply(const AddpSession& session, int socket, std::uint16_t expectedType,
                     const std::uint8_t macFilter[6], AddpReplyRecord& record);
