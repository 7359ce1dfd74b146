#include "lan_dialogs/config_ip.h"

#include "lan_dialogs/device_text.h"
#include "lan_dialogs/engine_status.h"
#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"

namespace {

constexpr int kTemplateId = 138;
constexpr int kIpAddress = 1022;
constexpr int kSubnetMask = 1023;
constexpr int kGateway = 1024;
constexpr int kPassword = 1027;
constexpr int kName = 1028;
constexpr int kMac = 1029;
constexpr int kDhcpRadio = 1037;
constexpr int kManualRadio = 1038;

constexpr int kModeDhcp = 0;
constexpr int kModeManual = 1;

std::uint32_t NetworkOrderOf(const platform::ui::CIPAddressCtrl& field) {
    std::uint32_t value = 0;
    field.GetAddress(value);  // blank fields count as 0
    return lan::NetworkOrder(value);
}

}  // namespace

CConfigIP::CConfigIP(platform::ui::CDialog* parent) : CDialog(kTemplateId, parent) {
    OnCommand(kDhcpRadio, [this] { FillFromDevice(kModeDhcp); });
    OnCommand(kManualRadio, [this] { FillFromDevice(kModeManual); });
}

void CConfigIP::DoDataExchange(platform::ui::DataExchange& dx) {
    dx.Control(kIpAddress, m_ipAddress);
    dx.Control(kGateway, m_ipGateway);
    dx.Control(kSubnetMask, m_ipMask);
    dx.Text(kPassword, m_strPassword);
    // The engine refuses a longer password without sending anything, which would look like silence.
    dx.MaxChars(kPassword, m_strPassword, static_cast<int>(kAddpMaxPassword));
    dx.Text(kMac, m_strMac);
    dx.Text(kName, m_strName);
    dx.Radio(kDhcpRadio, m_nMode);
}

bool CConfigIP::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pDevice == nullptr) return true;
    FillFromDevice(m_pDevice->dhcpEnabled == 1 ? kModeDhcp : kModeManual);
    UpdateData(false);
    return true;
}

// Also what a radio click does: the user starts again from the converter's own values, and the
// password box gets back what the last Apply took in.
void CConfigIP::FillFromDevice(int mode) {
    if (m_pDevice == nullptr) return;
    AddpDevice& device = *m_pDevice;
    const QString mac = lan::MacText(device.mac);
    m_nMode = mode;
    const bool manual = mode == kModeManual;
    m_ipAddress.EnableWindow(manual);
    m_ipMask.EnableWindow(manual);
    m_ipGateway.EnableWindow(manual);
    m_ipAddress.SetAddress(lan::FieldValue(device.ipAddress));
    m_ipMask.SetAddress(lan::FieldValue(device.subnetMask));
    m_ipGateway.SetAddress(lan::FieldValue(device.gateway));
    lan::ApplyModelNameRule(device);
    m_strName = lan::WireText(device.modelName);
    m_strMac = mac;
    UpdateData(false);
}

void CConfigIP::OnOK() {
    if (m_pDevice == nullptr) return CDialog::OnOK();
    // A failed open is not tested here: the request then fails on the dead instance and says so.
    const AddpHandle instance = AddpOpen(kAddpMagicDigi);
    if (!UpdateData(true)) {
        AddpClose(instance);
        return;
    }
    const int result = SendRequest(instance);
    const bool close = result == 0 || ReportResult(instance, result);
    AddpClose(instance);
    if (close) CDialog::OnOK();
}

int CConfigIP::SendRequest(AddpHandle instance) {
    const QByteArray password = m_strPassword.toUtf8();
    // DHCP mode only ever switches DHCP on; what the address fields hold does not matter then.
    if (m_nMode == kModeDhcp) return AddpSetDhcp(instance, m_pDevice->mac, 1, password.constData());
    return AddpSetNetwork(instance, m_pDevice->mac, NetworkOrderOf(m_ipAddress), NetworkOrderOf(m_ipMask),
                          NetworkOrderOf(m_ipGateway), password.constData());
}

bool CConfigIP::ReportResult(AddpHandle instance, int result) {
    const lan::EngineStatus status = lan::LastStatus(instance);
    if (status.code != 0) {
        platform::ui::MessageBox(
            QStringLiteral("An Error occured while setting the converter.\nError Number: %1\nError Message: %2\n")
                .arg(QString::number(status.code), status.text));
        return false;
    }
    // The engine's -1 with its own status untouched: nothing came back before the deadline.
    if (result < 0) {
        platform::ui::MessageBox(platform::ui::TableText(lan::kStringNoAnswer));
        return false;
    }
    // The converter answered with a refusal but no error code: show what it said and close.
    platform::ui::MessageBox(status.text + QLatin1Char('\n'));
    return true;
}
