#include "engine/frames.h"

#include <algorithm>
#include <cstring>

#include "engine/byte_reader.h"
#include "engine/model_table.h"

namespace {

using addp::ByteReader;
using Bytes = std::span<const std::uint8_t>;

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
    PutU16(out, static_cast<std::uint16_t>(value));
}

// Network-order values are written byte for byte as they lie in memory.
void PutRaw(std::vector<std::uint8_t>& out, const void* bytes, std::size_t count) {
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    out.insert(out.end(), first, first + count);
}

std::vector<std::uint8_t> Header(std::uint32_t magic, AddpMessageType type, std::size_t payloadLength) {
    std::vector<std::uint8_t> out;
    out.reserve(kAddpHeaderSize + payloadLength);
    PutU32(out, magic);
    PutU16(out, type);
    PutU16(out, static_cast<std::uint16_t>(payloadLength));
    return out;
}

void PutPassword(std::vector<std::uint8_t>& out, std::string_view password) {
    out.push_back(static_cast<std::uint8_t>(password.size()));
    PutRaw(out, password.data(), password.size());
}

std::uint32_t BigEndian(Bytes value) {
    std::uint32_t number = 0;
    for (const std::uint8_t byte : value) number = number << 8 | byte;
    return number;
}

bool IsIntegerLength(std::size_t length) { return length == 1 || length == 2 || length == 4; }

void StoreText(char (&field)[256], Bytes value) {
    const std::size_t length = std::min<std::size_t>(value.size(), sizeof field - 1);
    std::memcpy(field, value.data(), length);
    field[length] = '\0';
}

template <std::size_t N>
void StoreBytes(std::uint8_t (&field)[N], std::uint8_t& count, Bytes value) {
    const std::size_t length = std::min(value.size(), N);
    std::memcpy(field, value.data(), length);
    count = static_cast<std::uint8_t>(length);
}

// Decodes one field into the record; false when its length does not suit its form.
bool DecodeField(std::uint8_t code, Bytes value, AddpReplyRecord& record) {
    AddpDevice& device = record.device;
    const auto address = [&](std::uint32_t& field, std::uint32_t bit) {
        if (value.size() != 4) return false;
        std::memcpy(&field, value.data(), 4);
        device.present |= bit;
        return true;
    };
    const auto text = [&](char (&field)[256], std::uint32_t bit) {
        StoreText(field, value);
        device.present |= bit;
        return true;
    };
    const auto integer = [&]<typename T>(T& field, std::uint32_t& mask, std::uint32_t bit) {
        if (!IsIntegerLength(value.size())) return false;
        field = static_cast<T>(BigEndian(value));
        mask |= bit;
        return true;
    };
    const auto extension = [&](std::uint16_t& field, std::uint32_t bit) {
        if (!integer(field, device.extPresent, bit)) return false;
        device.present |= AddpPresentExtension;
        return true;
    };

    switch (code) {
        case AddpFieldMac:
            if (value.size() != 6) return false;
            std::memcpy(device.mac, value.data(), 6);
            device.present |= AddpPresentMac;
            return true;
        case AddpFieldIpAddress: return address(device.ipAddress, AddpPresentIpAddress);
        case AddpFieldSubnetMask: return address(device.subnetMask, AddpPresentSubnetMask);
        case AddpFieldGateway: return address(device.gateway, AddpPresentGateway);
        case AddpFieldDnsAddress: return address(device.dnsAddress, AddpPresentDnsAddress);
        case AddpFieldName: return text(device.name, AddpPresentName);
        case AddpFieldDomain: return text(device.domain, AddpPresentDomain);
        case AddpFieldFirmware: return text(device.firmware, AddpPresentFirmware);
        case AddpFieldModelName: return text(device.modelName, AddpPresentModelName);
        case AddpFieldResultMessage:
            StoreText(record.resultMessage, value);
            record.replyPresent |= AddpReplyResultMessage;
            return true;
        case AddpFieldHardwareType: return integer(device.hardwareType, device.present, AddpPresentHardwareType);
        case AddpFieldHardwareRevision:
            return integer(device.hardwareRevision, device.present, AddpPresentHardwareRevision);
        case AddpFieldResultFlag: return integer(record.resultFlag, record.replyPresent, AddpReplyResultFlag);
        case AddpFieldAdvisory: return integer(device.advisory, device.present, AddpPresentAdvisory);
        case AddpFieldRealPortPort: return integer(device.realPortPort, device.present, AddpPresentRealPortPort);
        case AddpFieldDhcpEnabled: return integer(device.dhcpEnabled, device.present, AddpPresentDhcpEnabled);
        case AddpFieldErrorCode: return integer(record.errorCode, record.replyPresent, AddpReplyErrorCode);
        case AddpFieldPortCount: return integer(device.portCount, device.present, AddpPresentPortCount);
        case AddpFieldExt224:
            StoreBytes(device.ext224, device.ext224Length, value);
            device.extPresent |= AddpExt224;
            device.present |= AddpPresentExtension;
            return true;
        case AddpFieldExt229:
            StoreBytes(device.ext229, device.ext229Length, value);
            device.extPresent |= AddpExt229;
            device.present |= AddpPresentExtension;
            return true;
        case AddpFieldExt225: return extension(device.ext225, AddpExt225);
        case AddpFieldExt227: return extension(device.ext227, AddpExt227);
        case AddpFieldExt228: return extension(device.ext228, AddpExt228);
        case AddpFieldExt230: return extension(device.ext230, AddpExt230);
        case AddpFieldValueList:
            for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
                const auto number = static_cast<std::uint16_t>(value[i] << 8 | value[i + 1]);
                if (std::find(record.valueList.begin(), record.valueList.end(), number) == record.valueList.end())
                    record.valueList.push_back(number);
            }
            record.replyPresent |= AddpReplyValueList;
            return true;
        default: return true;  // codes we do not know are skipped by their length
    }
}

// The model table fills in what the reply left out: the name from the hardware type, then the
// port count from the name (whether the name came from the reply or from the table).
void CompleteFromModelTable(AddpDevice& device) {
    if (!(device.present & AddpPresentModelName) && (device.present & AddpPresentHardwareType) &&
        AddpModelNameForType(device.hardwareType, device.modelName, sizeof device.modelName))
        device.present |= AddpPresentModelName;
    if (!(device.present & AddpPresentPortCount) && (device.present & AddpPresentModelName) &&
        AddpPortCountForModel(device.modelName, device.portCount))
        device.present |= AddpPresentPortCount;
}

}  // namespace

void AddpInitReplyRecord(AddpReplyRecord& record) {
    std::memset(&record.device, 0, sizeof record.device);
    record.replyPresent = 0;
    record.resultFlag = 0;
    record.errorCode = 0;
    std::memset(record.resultMessage, 0, sizeof record.resultMessage);
    record.valueList.clear();
}

void AddpResetReplyRecord(AddpReplyRecord& record) {
    record.valueList = {};
    AddpInitReplyRecord(record);
}

std::vector<std::uint8_t> AddpBuildDiscoveryRequest(std::uint32_t magic, const std::uint8_t mac[6]) {
    auto out = Header(magic, AddpDiscoveryRequest, 6);
    PutRaw(out, mac, 6);
    return out;
}

std::vector<std::uint8_t> AddpBuildNetworkRequest(std::uint32_t magic, const std::uint8_t mac[6],
                                                  std::uint32_t ipAddress, std::uint32_t subnetMask,
                                                  std::uint32_t gateway, std::string_view password) {
    if (password.size() > kAddpMaxPassword) return {};
    auto out = Header(magic, AddpNetworkRequest, 19 + password.size());
    PutRaw(out, &ipAddress, 4);
    PutRaw(out, &subnetMask, 4);
    PutRaw(out, &gateway, 4);
    PutRaw(out, mac, 6);
    PutPassword(out, password);
    return out;
}

std::vector<std::uint8_t> AddpBuildRebootRequest(std::uint32_t magic, const std::uint8_t mac[6],
                                                 std::string_view password) {
    if (password.size() > kAddpMaxPassword) return {};
    auto out = Header(magic, AddpRebootRequest, 7 + password.size());
    PutRaw(out, mac, 6);
    PutPassword(out, password);
    return out;
}

std::vector<std::uint8_t> AddpBuildDhcpRequest(std::uint32_t magic, const std::uint8_t mac[6],
                                               std::uint8_t dhcpFlag, std::string_view password) {
    if (password.size() > kAddpMaxPassword) return {};
    auto out = Header(magic, AddpDhcpRequest, 8 + password.size());
    out.push_back(dhcpFlag);
    PutRaw(out, mac, 6);
    PutPassword(out, password);
    return out;
}

bool AddpParseReply(std::uint32_t magic, std::uint16_t expectedType, std::span<const std::uint8_t> datagram,
                    AddpReplyRecord& record) {
    ByteReader header(datagram);
    std::uint32_t datagramMagic = 0;
    std::uint16_t type = 0;
    std::uint16_t payloadLength = 0;
    if (!header.ReadU32(datagramMagic) || !header.ReadU16(type) || datagramMagic != magic ||
        type != expectedType)
        return false;
    Bytes payload;
    if (!header.ReadU16(payloadLength) || !header.Take(payloadLength, payload)) return false;

    AddpDevice& device = record.device;
    device.present = 0;
    device.extPresent = 0;
    record.replyPresent = 0;

    ByteReader fields(payload);
    bool good = true;
    // A reply padded at its end, or with its last field cut short, still carries the fields before it.
    for (;;) {
        std::uint8_t code = 0;
        std::uint8_t length = 0;
        Bytes value;
        if (!fields.ReadU8(code) || !fields.ReadU8(length) || !fields.Take(length, value)) break;
        good = DecodeField(code, value, record) && good;
    }
    if (!good) return false;

    if (magic == kAddpMagicDigi) CompleteFromModelTable(device);
    return true;
}
