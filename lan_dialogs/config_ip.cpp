#include "lan_dialogs/config_ip.h"

#include "lan_dialogs/device_text.h"
#include "lan_dialogs/engine_status.h"
#include "lan_dialogs/request_password.h"
#include "platform/ui/busy_wait.h"
#include "platform/ui/seams.h"

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
    // Its limit is counted in the bytes the request carries, when Apply sends it.
    dx.Text(kPassword, m_strPassword);
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
    const bool sent = UpdateData(true) && Apply(instance);
    AddpClose(instance);
    if (sent) CDialog::OnOK();
}

// Only an accepted request closes the dialog; after anything else the user tries again with
// what they typed still in place.
bool CConfigIP::Apply(AddpHandle instance) {
    const std::optional<std::string> password = lan::PasswordForRequest(m_strPassword);
    if (!password) return false;
    int result = 0;
    {
        const platform::ui::BusyWait busy;
        result = SendRequest(instance, *password);
    }
    if (result == 0) return true;
    platform::ui::MessageBox(lan::FailureText(lan::LastStatus(instance), result, QStringLiteral("setting")));
    return false;
}

int CConfigIP::SendRequest(AddpHandle instance, const std::string& password) {
    // DHCP mode only ever switches DHCP on; what the address fields hold does not matter then.
    if (m_nMode == kModeDhcp) return AddpSetDhcp(instance, m_pDevice->mac, 1, password.c_str());
    return AddpSetNetwork(instance, m_pDevice->mac, NetworkOrderOf(m_ipAddress), NetworkOrderOf(m_ipMask),
                          NetworkOrderOf(m_ipGateway), password.c_str());
}
