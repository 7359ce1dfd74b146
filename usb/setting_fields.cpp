#include "usb/setting_fields.h"

#include "settings/value_tables.h"
#include "usb/window_controls.h"
#include "usb/window_text.h"

QString g_strLogin;
QString g_strPassword;

namespace {

template <typename Table>
void Fill(platform::ui::CComboBox& list, const Table& entries, int selected) {
    for (const auto& entry : entries) list.AddString(FromBytes(entry.text));
    list.SetCurSel(selected);
}

}  // namespace

void FillSettingLists() {
    Fill(g_cbBaudRate, settings::kBaudRates, settings::kDefaultBaudRatePosition);
    Fill(g_cbLineMode, settings::kLineModes, settings::kDefaultLineModePosition);
    Fill(g_cbProfile, settings::kSerialProfiles, settings::kDefaultSerialProfilePosition);
    Fill(g_cbDhcp, settings::kDhcpModes, settings::kDefaultDhcpPosition);
    Fill(g_cbSpeed, settings::kEthernetSpeeds, settings::kDefaultEthernetSpeedPosition);
}

void EnableAddressFields(bool enable) {
    g_ipAddress.EnableWindow(enable);
    g_ipSubmask.EnableWindow(enable);
    g_ipGateway.EnableWindow(enable);
}

void OnDhcpSelChange() {
    const int position = g_cbDhcp.GetCurSel();
    if (position == settings::kDhcpOff) EnableAddressFields(true);
    if (position == settings::kDhcpOn) EnableAddressFields(false);
}
