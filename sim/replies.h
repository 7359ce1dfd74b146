#pragma once
// The replies a module sends, as field lists and as datagrams. Pure: nothing is sent here.

#include <cstdint>
#include <span>
#include <vector>

#include "sim/module.h"

namespace sim {

// A reply before it is encoded: faults work on this form (sim/faults.h).
struct ReplyFrame {
    std::uint16_t type = 0;
    std::vector<ReplyField> fields;
};

// Fields 1, 2, 3, 11, 15, 4, 5, 6, 7, 13, 8, 16, 14, 18 in this order (13 and 18 only when the
// description has them), then the description's extra fields. Texts longer than a field can
// carry (255 bytes) are cut.
std::vector<ReplyField> DiscoveryReplyFields(const ModuleDescription& module);

// The MAC, then, with an outcome, fields 10 (result flag), 17 (error code) and 9 (message).
std::vector<ReplyField> ConfigurationReplyFields(const Mac& mac, const std::optional<ReplyOutcome>& outcome);

// Header (magic, type, payload length) and the fields one after the other.
std::vector<std::uint8_t> EncodeReply(std::uint32_t magic, const ReplyFrame& frame);

}  // namespace sim
