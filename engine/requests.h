#pragma once
// The exchanges behind the requests to one converter. Internal to the engine.

#include <cstdint>
#include <span>

#include "engine/frames.h"
#include "engine/session.h"

// Sends a discovery request for the MAC through every interface and accepts the first reply
// from that MAC into the record. 0 when one came before the deadline, else -1.
int AddpQuery(AddpSession& session, const std::uint8_t mac[6], AddpReplyRecord& record);

// The local interface through which the converter is to be addressed: the only one, or else the
// one its answer to a query came through. False when there is none.
bool AddpChooseInterface(AddpSession& session, const std::uint8_t mac[6], std::uint32_t& localAddress);

// Sends the datagram once through the interface and waits for an accepted reply of the expected
// type from the MAC. 0 when it is in the record before the deadline, else -1.
int AddpExchange(AddpSession& session, std::uint32_t localAddress, std::uint16_t expectedType,
                 const std::uint8_t mac[6], std::span<const std::uint8_t> datagram, AddpReplyRecord& record);
