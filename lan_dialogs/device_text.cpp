#include "lan_dialogs/device_text.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/ui/table_text.h"

namespace lan {
namespace {

constexpr std::string_view kModuleModel = "Digi Connect ME";
constexpr int kConverterName = 2;

QString ConverterName() { return platform::ui::TableText(kConverterName); }

}  // namespace

QString MacText(const std::uint8_t mac[6]) {
    return QString::asprintf("%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
}

QString Ipv4Text(std::uint32_t networkOrder) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&networkOrder);
    return QString::asprintf("%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
}

std::uint32_t FieldValue(std::uint32_t networkOrder) { return ntohl(networkOrder); }

std::uint32_t NetworkOrder(std::uint32_t fieldValue) { return htonl(fieldValue); }

QString ShownModelName(const char (&modelName)[256]) {
    if (std::string_view(modelName, strnlen(modelName, sizeof modelName)) == kModuleModel) return ConverterName();
    return WireText(modelName);
}

void ApplyModelNameRule(AddpDevice& device) {
    if (device.modelName != kModuleModel) return;
    const QByteArray shown = ConverterName().toLatin1();
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(shown.size()), sizeof device.modelName - 1);
    std::memcpy(device.modelName, shown.constData(), length);
    device.modelName[length] = '\0';
}

}  // namespace lan
