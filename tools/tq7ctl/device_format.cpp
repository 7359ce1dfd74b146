#include "tools/tq7ctl/device_format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tq7ctl {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendHexByte(std::string& out, unsigned char byte) {
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0f];
}

std::string HexText(const std::uint8_t* bytes, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) AppendHexByte(out, bytes[i]);
    return out;
}

// Writes `"name":value` pairs, separated by commas, into one object.
class JsonObject {
public:
    JsonObject() : m_text("{") {}

    void Number(std::string_view name, std::uint64_t value) { Key(name) += std::to_string(value); }
    void Text(std::string_view name, std::string_view value) { Key(name) += JsonString(value); }
    std::string Close() { return m_text + "}"; }

private:
    std::string& Key(std::string_view name) {
        if (m_text.size() > 1) m_text += ',';
        m_text += JsonString(name);
        m_text += ':';
        return m_text;
    }

    std::string m_text;
};

}  // namespace

std::string MacText(const std::uint8_t mac[6]) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    return text;
}

std::string Ipv4Text(std::uint32_t address) {
    std::uint8_t octets[4];
    std::memcpy(octets, &address, sizeof octets);
    return std::to_string(octets[0]) + '.' + std::to_string(octets[1]) + '.' + std::to_string(octets[2]) +
           '.' + std::to_string(octets[3]);
}

std::string_view ShownModelName(const AddpDevice& device) {
    const std::string_view model = FieldText(device.modelName);
    return model == "Digi Connect ME" ? std::string_view("TQ7 Converter") : model;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte >= 0x7f) {
                    out += "\\u00";
                    AppendHexByte(out, byte);
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string PlainText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || (byte >= 0x7f && byte < 0xa0)) {
            out += "\\x";
            AppendHexByte(out, byte);
        } else if (byte >= 0xa0) {
            // The Latin-1 character in UTF-8: two bytes.
            out += static_cast<char>(0xc0 | byte >> 6);
            out += static_cast<char>(0x80 | (byte & 0x3f));
        } else {
            out += c;
        }
    }
    return out;
}

std::string DeviceLine(const AddpDevice& device) {
    return Ipv4Text(device.ipAddress) + '\t' + MacText(device.mac) + '\t' +
           PlainText(FieldText(device.name)) + '\t' + PlainText(ShownModelName(device));
}

std::string DeviceJson(const AddpDevice& device) {
    JsonObject json;
    json.Text("localAddress", Ipv4Text(device.localAddress));
    json.Number("present", device.present);
    json.Text("mac", MacText(device.mac));
    json.Text("ipAddress", Ipv4Text(device.ipAddress));
    json.Text("subnetMask", Ipv4Text(device.subnetMask));
    json.Text("gateway", Ipv4Text(device.gateway));
    json.Text("dnsAddress", Ipv4Text(device.dnsAddress));
    json.Number("dhcpEnabled", device.dhcpEnabled);
    json.Number("realPortPort", device.realPortPort);
    json.Text("name", FieldText(device.name));
    json.Text("domain", FieldText(device.domain));
    json.Number("hardwareType", device.hardwareType);
    json.Number("hardwareRevision", device.hardwareRevision);
    json.Text("firmware", FieldText(device.firmware));
    json.Text("modelName", FieldText(device.modelName));
    json.Number("portCount", device.portCount);
    json.Number("advisory", device.advisory);
    json.Number("extPresent", device.extPresent);
    json.Number("ext224Length", device.ext224Length);
    json.Text("ext224",
              HexText(device.ext224, std::min<std::size_t>(device.ext224Length, sizeof device.ext224)));
    json.Number("ext225", device.ext225);
    json.Number("ext227", device.ext227);
    json.Number("ext228", device.ext228);
    json.Number("ext229Length", device.ext229Length);
    json.Text("ext229",
              HexText(device.ext229, std::min<std::size_t>(device.ext229Length, sizeof device.ext229)));
    json.Number("ext230", device.ext230);
    return json.Close();
}

}  // namespace tq7ctl
