#pragma once
// What crosses the wire: the request datagrams the engine builds and the replies it decodes.
// Pure: nothing here sends or receives. Shared by the engine and the simulated converter.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/addp.h"

enum AddpMessageType : std::uint16_t {
    AddpDiscoveryRequest = 1,
    AddpDiscoveryReply = 2,
    AddpNetworkRequest = 3,
    AddpNetworkReply = 4,
    AddpRebootRequest = 5,
    AddpRebootReply = 6,
    AddpDhcpRequest = 7,
    AddpDhcpReply = 8,
};

constexpr std::size_t kAddpHeaderSize = 8;
constexpr std::uint8_t kAddpEveryModule[6] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

// Reply field codes.
enum AddpFieldCode : std::uint8_t {
    AddpFieldMac = 1,
    AddpFieldIpAddress = 2,
    AddpFieldSubnetMask = 3,
    AddpFieldName = 4,
    AddpFieldDomain = 5,
    AddpFieldHardwareType = 6,
    AddpFieldHardwareRevision = 7,
    AddpFieldFirmware = 8,
    AddpFieldResultMessage = 9,
    AddpFieldResultFlag = 10,
    AddpFieldGateway = 11,
    AddpFieldAdvisory = 12,
    AddpFieldModelName = 13,
    AddpFieldRealPortPort = 14,
    AddpFieldDnsAddress = 15,
    AddpFieldDhcpEnabled = 16,
    AddpFieldErrorCode = 17,
    AddpFieldPortCount = 18,
    AddpFieldExt224 = 224,
    AddpFieldExt225 = 225,
    AddpFieldExt227 = 227,
    AddpFieldExt228 = 228,
    AddpFieldExt229 = 229,
    AddpFieldExt230 = 230,
    AddpFieldValueList = 231,
};

enum : std::uint32_t {
    AddpReplyResultFlag = 0x01,
    AddpReplyErrorCode = 0x02,
    AddpReplyResultMessage = 0x04,
    AddpReplyValueList = 0x08,
};

// The engine's working record for one received reply. Never leaves the engine; only `device`
// is copied out.
struct AddpReplyRecord {
    AddpDevice device;
    std::uint32_t replyPresent;
    std::uint8_t resultFlag;       // 0 = the converter accepted the request
    std::uint8_t errorCode;        // becomes the status code after a configuration reply
    char resultMessage[256];       // becomes the status text
    std::vector<std::uint16_t> valueList;  // distinct values, in the order received
};

void AddpInitReplyRecord(AddpReplyRecord& record);
// Releases the value list and initialises the record again, ready for the next datagram.
void AddpResetReplyRecord(AddpReplyRecord& record);

// Each builder returns the whole datagram. Addresses are in network order, written as they lie
// in memory. A password longer than 255 bytes cannot be sent: the result is empty.
std::vector<std::uint8_t> AddpBuildDiscoveryRequest(std::uint32_t magic, const std::uint8_t mac[6]);
std::vector<std::uint8_t> AddpBuildNetworkRequest(std::uint32_t magic, const std::uint8_t mac[6],
                                                  std::uint32_t ipAddress, std::uint32_t subnetMask,
                                                  std::uint32_t gateway, std::string_view password);
std::vector<std::uint8_t> AddpBuildRebootRequest(std::uint32_t magic, const std::uint8_t mac[6],
                                                 std::string_view password);
std::vector<std::uint8_t> AddpBuildDhcpRequest(std::uint32_t magic, const std::uint8_t mac[6],
                                               std::uint8_t dhcpFlag, std::string_view password);

// True when the datagram is a good reply of the expected type; fills the record. Wrong magic or
// type leaves the record as it was. A last field that runs past the payload, or a lone code byte
// at its end, is left out and the fields before it are kept. A bad field or a payload running
// past the datagram refuses the reply, possibly after part of the record was written: reset the
// record before reusing it. Never reads outside `datagram`.
bool AddpParseReply(std::uint32_t magic, std::uint16_t expectedType, std::span<const std::uint8_t> datagram,
                    AddpReplyRecord& record);
