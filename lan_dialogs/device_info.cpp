#include "lan_dialogs/device_info.h"

#include "lan_dialogs/device_text.h"

namespace {

constexpr int kTemplateId = 140;
constexpr int kDetails = 1040;

// A reply without the DHCP field says nothing about it, which is not the same as "Disabled".
QString DhcpText(const AddpDevice& device) {
    if (!(device.present & AddpPresentDhcpEnabled)) return QStringLiteral("N/A");
    return device.dhcpEnabled == 1 ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
}

}  // namespace

CDeviceInfo::CDeviceInfo(platform::ui::CDialog* parent) : CDialog(kTemplateId, parent) {}

void CDeviceInfo::DoDataExchange(platform::ui::DataExchange& dx) { dx.Text(kDetails, m_strDetails); }

bool CDeviceInfo::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pDevice == nullptr) return true;
    AddpDevice& device = *m_pDevice;
    lan::ApplyModelNameRule(device);
    m_strDetails = QStringLiteral(
                       "Name: %1\nMAC Address: %2\nIP Address: %3\nSubnet Mask: %4\nGateway Address: %5\n"
                       "DNS Address: %6\nDHCP Mode: %7\nFirmware Revision: %8\nRealPort Port: %9\n")
                       .arg(lan::WireText(device.modelName), lan::MacText(device.mac), lan::Ipv4Text(device.ipAddress),
                            lan::Ipv4Text(device.subnetMask), lan::Ipv4Text(device.gateway),
                            lan::Ipv4Text(device.dnsAddress), DhcpText(device), lan::WireText(device.firmware),
                            QString::number(device.realPortPort));
    UpdateData(false);
    return true;
}
