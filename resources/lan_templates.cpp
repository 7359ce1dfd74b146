// The main window, the three LAN dialogs and the progress panel.

#include "resources/templates.h"

namespace resources {
namespace {

using K = ControlKind;

constexpr ControlTemplate kMainWindow[] = {
    {1018, K::Static, "Commands:", 7, 7, 46, 8},
    {1001, K::PushButton, "&Open Web Interface", 7, 19, 80, 14},
    {1002, K::PushButton, "&Configure IP Settings", 7, 38, 80, 14},
    {1006, K::PushButton, "Converter &Info", 7, 57, 80, 14},
    {1005, K::PushButton, "Re&boot Converter", 7, 76, 80, 14},
    {1003, K::PushButton, "&Refresh List", 7, 95, 80, 14},
    {1004, K::PushButton, "Configuration &via USB", 8, 114, 80, 14},
    {2, K::PushButton, "Close", 8, 165, 80, 14, kCancelButton},
    {-1, K::Static, "List of Converters:", 101, 7, 68, 8},
    {1021, K::ReportList, "", 102, 19, 320, 160, kSingleSelection | kShowSelectionAlways | kBorder},
};

constexpr ControlTemplate kSetIpAddress[] = {
    {-1, K::Static,
     "Assign an IP Address, subnet mask and gateway to your TQ7W converter.  Contact your network administrator if "
     "you do not know this information.",
     7, 7, 179, 23},
    {-1, K::Static, "Name:", 13, 38, 42, 11},
    {1028, K::Static, "<product>", 94, 38, 92, 8},
    {-1, K::Static, "MAC Address:", 13, 52, 60, 11},
    {1029, K::Static, "<mac address>", 94, 51, 93, 8},
    {-1, K::GroupBox, "", 7, 81, 179, 74},
    {1037, K::RadioButton, "Automatically obtain network settings via DHCP", 13, 67, 165, 10, kGroupStart},
    {1038, K::RadioButton, "Manually configure network settings", 13, 81, 129, 10},
    {-1, K::Static, "IP Address:", 13, 99, 37, 8, kGroupStart},
    {1022, K::IpAddress, "", 79, 95, 100, 15},
    {-1, K::Static, "Subnet Mask:", 13, 118, 45, 8},
    {1023, K::IpAddress, "", 79, 113, 100, 15},
    {-1, K::Static, "Default Gateway", 13, 136, 54, 8},
    {1024, K::IpAddress, "", 79, 131, 100, 15},
    {-1, K::Static, "Password:", 13, 167, 34, 8},
    {1027, K::Edit, "", 79, 162, 101, 14, kBorder | kPassword | kAutoHScroll},
    {1, K::DefaultButton, "Apply", 35, 182, 50, 14},
    {2, K::PushButton, "Cancel", 100, 182, 50, 14, kCancelButton},
};

constexpr ControlTemplate kReboot[] = {
    {1035, K::Static, "<Name>", 57, 7, 67, 8},
    {1036, K::Static, "<MAC Address>", 57, 20, 66, 8},
    {-1, K::Static, "Password:", 7, 35, 34, 8},
    {1034, K::Edit, "", 57, 33, 79, 14, kBorder | kPassword | kAutoHScroll},
    {1032, K::Static, "Status: Reboot", 41, 52, 99, 8},
    {1043, K::DefaultButton, "Reboot", 14, 70, 50, 14},
    {1, K::PushButton, "Close", 79, 70, 50, 14},
    {-1, K::Static, "Name:", 7, 7, 30, 11},
    {-1, K::Static, "MAC Address:", 7, 21, 49, 11},
};

constexpr ControlTemplate kDeviceInfo[] = {
    {-1, K::GroupBox, "Converter Information", 7, 7, 199, 174},
    {1040, K::Static, "Converter Details", 14, 21, 180, 158},
    {1, K::PushButton, "OK", 81, 188, 50, 14},
};

constexpr ControlTemplate kProgress[] = {
    {1084, K::ProgressBar, "", 85, 39, 80, 14, kSmooth},
};

constexpr std::uint32_t kModalDialog = kPopup | kCaption | kSystemMenu | kModalFrame;

constexpr DialogTemplate kLanTemplates[] = {
    {102, "TQ7Config", 429, 186, "MS Sans Serif", 8, kModalDialog | kMinimizeBox | kMaximizeBox, kMainWindow},
    {138, "Set IP Address", 193, 201, "MS Sans Serif", 8, kModalDialog, kSetIpAddress},
    {139, "Reboot Converter", 143, 90, "MS Sans Serif", 8, kModalDialog, kReboot},
    {140, "TQ7 Converter Information", 213, 215, "MS Sans Serif", 8, kModalDialog, kDeviceInfo},
    {151, "", 250, 92, "MS Shell Dlg", 8, kChild | kCentred | kSystemModal | kSetForeground, kProgress},
};

}  // namespace

std::span<const DialogTemplate> LanDialogTemplates() { return kLanTemplates; }

}  // namespace resources
