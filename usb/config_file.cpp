#include "usb/config_file.h"

#include <optional>
#include <string>

#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"
#include "platform/whole_file.h"
#include "settings/config_file_format.h"
#include "settings/value_tables.h"
#include "usb/setting_checks.h"
#include "usb/setting_fields.h"
#include "usb/window_controls.h"
#include "usb/window_text.h"

namespace {

using settings::ColumnAt;
using settings::PositionOf;

constexpr int kStringCannotOpen = 23;
const QString kProposedName = QStringLiteral("TQ7_config.txt");
const QString kOpenPattern = QStringLiteral("*.txt");

// A file that opened but could not be written or read is reported the same way: the user learns
// that the file was not saved or loaded, and why.
void ReportFileFailure(platform::FileCause cause) {
    platform::ui::MessageBox(
        QStringLiteral("%1: %2").arg(platform::ui::TableText(kStringCannotOpen)).arg(static_cast<int>(cause)));
}

// A text of the file selects the entry it stands for; any other text is shown with no entry
// selected, so that nothing but what the field shows can be applied or saved.
void ShowLoaded(platform::ui::CComboBox& list, std::optional<int> position, std::string_view text) {
    if (position) {
        list.SetCurSel(*position);
        return;
    }
    list.SetCurSel(settings::kNoPosition);
    list.SetWindowText(FromBytes(text));
}

}  // namespace

QString ProfileFileText() {
    return FromBytes(ColumnAt(settings::kSerialProfiles, &settings::SerialProfileEntry::fileText,
                              g_cbProfile.GetCurSel()));
}

void OnSaveToFile() {
    if (!SettingsMeanWhatTheyShow(true)) return;
    const auto path = platform::ui::AskForFile(platform::ui::FileDialogKind::Save, kProposedName, QString());
    if (!path) return;
    const settings::ConfigFileValues values{
        .ipAddress = ToBytes(g_ipAddress.GetWindowText()),
        .submask = ToBytes(g_ipSubmask.GetWindowText()),
        .gateway = ToBytes(g_ipGateway.GetWindowText()),
        .dhcp = std::string(ColumnAt(settings::kDhcpModes, &settings::DhcpEntry::text, g_cbDhcp.GetCurSel())),
        .speed = std::string(ColumnAt(settings::kEthernetSpeeds, &settings::EthernetSpeedEntry::fileText,
                                      g_cbSpeed.GetCurSel())),
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
    // A value that is no whole address blanks its field.
    g_ipAddress.SetWindowText(FromBytes(values.ipAddress));
    g_ipSubmask.SetWindowText(FromBytes(values.submask));
    g_ipGateway.SetWindowText(FromBytes(values.gateway));
    const std::optional<int> dhcp = PositionOf(settings::kDhcpModes, &settings::DhcpEntry::text, values.dhcp);
    ShowLoaded(g_cbDhcp, dhcp, values.dhcp);
    // Only a text that stands for "On" or "Off" says which way the address fields go.
    if (dhcp) EnableAddressFields(*dhcp == settings::kDhcpOff);
    ShowLoaded(g_cbSpeed,
               PositionOf(settings::kEthernetSpeeds, &settings::EthernetSpeedEntry::fileText, values.speed),
               values.speed);
    ShowLoaded(g_cbProfile,
               PositionOf(settings::kSerialProfiles, &settings::SerialProfileEntry::fileText, values.profile),
               values.profile);
}
