#include "sim/replies.h"

#include <algorithm>

#include "engine/frames.h"

namespace sim {
namespace {

constexpr std::size_t kMaxFieldValue = 255;

ReplyField Bytes(std::uint8_t code, const void* bytes, std::size_t count) {
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    return {code, std::vector<std::uint8_t>(first, first + count)};
}

// Addresses lie in memory in network order and go out as they lie.
ReplyField Address(std::uint8_t code, std::uint32_t address) {
    return Bytes(code, &address, 4);
}

ReplyField Text(std::uint8_t code, const std::string& text) {
    return Bytes(code, text.data(), std::min(text.size(), kMaxFieldValue));
}

ReplyField U8(std::uint8_t code, std::uint8_t value) {
    return {code, {value}};
}

ReplyField U16(std::uint8_t code, std::uint16_t value) {
    return {code, {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)}};
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

}  // namespace

std::vector<ReplyField> DiscoveryReplyFields(const ModuleDescription& module) {
    std::vector<ReplyField> fields{
        Bytes(AddpFieldMac, module.mac.data(), module.mac.size()),
        Address(AddpFieldIpAddress, module.ipAddress),
        Address(AddpFieldSubnetMask, module.subnetMask),
        Address(AddpFieldGateway, module.gateway),
        Address(AddpFieldDnsAddress, module.dnsAddress),
        Text(AddpFieldName, module.name),
        Text(AddpFieldDomain, module.domain),
        U8(AddpFieldHardwareType, module.hardwareType),
        U8(AddpFieldHardwareRevision, module.hardwareRevision),
    };
    if (module.modelName) fields.push_back(Text(AddpFieldModelName, *module.modelName));
    fields.push_back(Text(AddpFieldFirmware, module.firmware));
    fields.push_back(U8(AddpFieldDhcpEnabled, module.dhcpEnabled ? 1 : 0));
    fields.push_back(U16(AddpFieldRealPortPort, module.realPortPort));
    if (module.portCount) fields.push_back(U8(AddpFieldPortCount, *module.portCount));
    fields.insert(fields.end(), module.extraFields.begin(), module.extraFields.end());
    return fields;
}

std::vector<ReplyField> ConfigurationReplyFields(const Mac& mac, const std::optional<ReplyOutcome>& outcome) {
    std::vector<ReplyField> fields{Bytes(AddpFieldMac, mac.data(), mac.size())};
    if (outcome) {
        fields.push_back(U8(AddpFieldResultFlag, outcome->resultFlag));
        fields.push_back(U8(AddpFieldErrorCode, outcome->errorCode));
        fields.push_back(Text(AddpFieldResultMessage, outcome->message));
    }
    return fields;
}

std::vector<std::uint8_t> EncodeReply(std::uint32_t magic, const ReplyFrame& frame) {
    std::size_t payload = 0;
    for (const ReplyField& field : frame.fields) payload += 2 + std::min(field.value.size(), kMaxFieldValue);

    std::vector<std::uint8_t> out;
    out.reserve(kAddpHeaderSize + payload);
    PutU16(out, static_cast<std::uint16_t>(magic >> 16));
    PutU16(out, static_cast<std::uint16_t>(magic));
    PutU16(out, frame.type);
    PutU16(out, static_cast<std::uint16_t>(payload));
    for (const ReplyField& field : frame.fields) {
        // A field's length is one byte: a longer value is cut rather than misframed.
        const std::size_t length = std::min(field.value.size(), kMaxFieldValue);
        out.push_back(field.code);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), field.value.begin(), field.value.begin() + static_cast<std::ptrdiff_t>(length));
    }
    return out;
}

}  // namespace sim
