#include "usb/config_file.h"

#include <string>

#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"
#include "platform/whole_file.h"
#include "settings/config_file_format.h"
#include "settings/value_tables.h"
#include "usb/setting_fields.h"
#include "usb/window_controls.h"
#include "usb/window_text.h"

namespace {

constexpr int kStringCannotOpen = 23;
const QString kProposedName = QStringLiteral("TQ7_config.txt");
const QString kOpenPattern = QStringLiteral("*.txt");

// A file that opened but could not be written or read is reported the same way: the user learns
// that the file was not saved or loaded, and why.
void ReportFileFailure(platform::FileCause cause) {
    platform::ui::MessageBox(
        QStringLiteral("%1: %2").arg(platform::ui::TableText(kStringCannotOpen)).arg(static_cast<int>(cause)));
}

void ApplyLoadedDhcpText(const QString& dhcp) {
    // Only the exact list texts say which way the address fields go.
    if (dhcp == FromBytes(settings::kDhcpModes[settings::kDhcpOff].text))
        EnableAddressFields(true);
    else if (dhcp == FromBytes(settings::kDhcpModes[settings::kDhcpOn].text))
        EnableAddressFields(false);
}

}  // namespace

QString ProfileFileText() {
    return FromBytes(settings::ColumnAt(settings::kSerialProfiles, &settings::SerialProfileEntry::fileText,
                                         g_cbProfile.GetCurSel()));
}

void OnSaveToFile() {
    const auto path = platform::ui::AskForFile(platform::ui::FileDialogKind::Save, kProposedName, QString());
    if (!path) return;
    const settings::ConfigFileValues values{
        .ipAddress = ToBytes(g_ipAddress.GetWindowText()),
        .submask = ToBytes(g_ipSubmask.GetWindowText()),
        .gateway = ToBytes(g_ipGateway.GetWindowText()),
        .dhcp = ToBytes(g_cbDhcp.GetWindowText()),
        .speed = ToBytes(g_cbSpeed.GetWindowText()),
        .profile = ToBytes(ProfileFileText()),
    };
    const auto outcome = platform::WriteWholeFile(path->toStdString(), settings::ConfigFileText(values));
    if (outcome.cause != platform::FileCause::kNone) ReportFileFailure(outcome.cause);
}

void OnLoadFromFile() {
    const auto path = platform::ui::AskForFile(platform::ui::FileDialogKind::Open, kOpenPattern, QString());
    if (!path) return;
    std::string text;
    const auto outcome = platform::ReadFileStart(path->toStdString(), settings::kLongestConfigFile, text);
    if (outcome.cause != platform::FileCause::kNone) return ReportFileFailure(outcome.cause);
    const settings::ConfigFileValues values = settings::ParseConfigFile(text);
    g_ipAddress.SetWindowText(FromBytes(values.ipAddress));
    g_ipSubmask.SetWindowText(FromBytes(values.submask));
    g_ipGateway.SetWindowText(FromBytes(values.gateway));
    g_cbDhcp.SetWindowText(FromBytes(values.dhcp));
    ApplyLoadedDhcpText(FromBytes(values.dhcp));
    g_cbSpeed.SetWindowText(FromBytes(values.speed));
    g_cbProfile.SetWindowText(FromBytes(values.profile));
}
