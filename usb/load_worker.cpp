#include "usb/settings_workers.h"

#include <chrono>
#include <optional>
#include <string>

#include "lan_dialogs/progress.h"
#include "platform/time.h"
#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"
#include "settings/reply_values.h"
#include "settings/value_tables.h"
#include "usb/console.h"
#include "usb/exchange_log.h"
#include "usb/setting_fields.h"
#include "usb/window_controls.h"
#include "usb/window_states.h"
#include "usb/window_text.h"
#include "usb/worker_start.h"

namespace {

constexpr int kStringLoaded = 21;
// The console needs a moment between reports.
constexpr std::chrono::milliseconds kPauseBetweenQueries{1000};

// The reply to `command` as the parsers read it, behind the command itself; nothing when the
// exchange was skipped or failed.
std::optional<std::string> Query(std::string_view command) {
    if (g_usbLink.errorState != kNoError) return std::nullopt;
    if (!ConsoleShow(command)) return std::nullopt;
    return std::string(command).append(UsbReplyText());
}

void Select(platform::ui::CComboBox& list, std::optional<int> position) {
    if (position) list.SetCurSel(*position);
}

}  // namespace

void QueryNetworkSettings() {
    const auto reply = Query("show network");
    if (!reply) return;
    // The address fields take whatever the reply says, blank included.
    g_ipAddress.SetWindowText(FromBytes(settings::ExtractColonValue(*reply, "ipaddress")));
    g_ipSubmask.SetWindowText(FromBytes(settings::ExtractColonValue(*reply, "submask")));
    g_ipGateway.SetWindowText(FromBytes(settings::ExtractColonValue(*reply, "gateway")));
    if (const auto dhcp = settings::ParseDhcp(*reply)) {
        g_cbDhcp.SetCurSel(*dhcp);
        EnableAddressFields(*dhcp == settings::kDhcpOff);
    }
}

void QueryEthernetSettings() {
    if (const auto reply = Query("show ethernet")) Select(g_cbSpeed, settings::ParseEthernetSpeed(*reply));
}

void QuerySerialProfile() {
    const auto reply = Query("show profile");
    if (!reply) return;
    Select(g_cbProfile, settings::ParseSerialProfile(*reply));
    platform::ui::MessageBox(platform::ui::TableText(kStringLoaded));
}

void LoadWorker() {
    ForgetEarlierRefusal();
    QueryNetworkSettings();
    platform::SleepFor(kPauseBetweenQueries);
    QueryEthernetSettings();
    platform::SleepFor(kPauseBetweenQueries);
    QuerySerialProfile();
    LogExchange("Load wlan ok");
    LogExchange("Load serial ok");
    if (g_usbLink.errorState == kLinkFailed) {
        SetStatusText(kStringDisconnected);
        ShowReadyToConnect();
        UsbClose();
        ReportConnectionError();
    } else {
        // Locked for as long as the converter stays connected.
        EnableConnectionFields(false);
    }
    ShowWindowControls(true);
    g_dlgProgress.Finish();
}
