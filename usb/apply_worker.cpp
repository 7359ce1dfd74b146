#include "usb/settings_workers.h"

#include "lan_dialogs/progress.h"
#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"
#include "settings/set_commands.h"
#include "settings/value_tables.h"
#include "usb/console.h"
#include "usb/window_controls.h"
#include "usb/window_states.h"
#include "usb/window_text.h"
#include "usb/worker_start.h"

namespace {

constexpr int kStringSaved = 22;

// Every command after the first stops once one has failed.
void SendIfNoError(std::string_view prefix, std::string_view value) {
    if (g_usbLink.errorState == kNoError) SendSetting(prefix, value);
}

void SendAddressFields() {
    SendSetting(settings::kSetIpAddress, ToBytes(g_ipAddress.GetWindowText()));
    SendIfNoError(settings::kSetSubmask, ToBytes(g_ipSubmask.GetWindowText()));
    SendIfNoError(settings::kSetGateway, ToBytes(g_ipGateway.GetWindowText()));
}

}  // namespace

void SendSetting(std::string_view prefix, std::string_view value) {
    ConsoleSendSet(settings::SetCommandLine(prefix, value));
}

void ApplyWorker() {
    using settings::ColumnAt;
    ForgetEarlierRefusal();
    ClearReceiveBuffer();
    // The lists' selected positions are sent, never the texts typed or loaded into them.
    const int dhcp = g_cbDhcp.GetCurSel();
    if (dhcp == settings::kDhcpOff) SendAddressFields();
    SendIfNoError(settings::kSetStatic, ColumnAt(settings::kDhcpModes, &settings::DhcpEntry::staticSent, dhcp));
    SendIfNoError(settings::kSetDhcp, ColumnAt(settings::kDhcpModes, &settings::DhcpEntry::dhcpSent, dhcp));
    SendIfNoError(settings::kSetSpeed, ColumnAt(settings::kEthernetSpeeds, &settings::EthernetSpeedEntry::sentKeyword,
                                                 g_cbSpeed.GetCurSel()));
    SendIfNoError(settings::kSetProfile, ColumnAt(settings::kSerialProfiles,
                                                   &settings::SerialProfileEntry::sentKeyword, g_cbProfile.GetCurSel()));

    if (g_usbLink.errorState == kLinkFailed) {
        SetStatusText(kStringDisconnected);
        ShowReadyToConnect();
        UsbClose();
        ReportConnectionError();
    } else if (g_usbLink.errorState == kNoError) {
        platform::ui::MessageBox(platform::ui::TableText(kStringSaved));
    }
    // A refusal has already been shown, with the converter's own words.
    EnableConnectionFields(true);
    // Before the panel ends, so that the window sees every change once it goes on.
    ShowWindowControls(true);
    g_dlgProgress.Finish();
}
