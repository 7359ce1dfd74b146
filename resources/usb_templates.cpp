// The Configuration via USB window and its device-information dialog.

#include "resources/templates.h"

namespace resources {
namespace {

using K = ControlKind;

constexpr ControlTemplate kUsbWindow[] = {
    {1, K::DefaultButton, "Restart TQ7", 91, 305, 104, 14},
    {2, K::PushButton, "Close window", 246, 305, 76, 14, kCancelButton},
    {1085, K::GroupBox, "Connection with device", 9, 9, 426, 91},
    {1087, K::Static, "Device", 67, 25, 22, 8},
    {1057, K::ComboBox, "", 94, 22, 180, 91, kSorted | kVScroll},
    {1088, K::Static, "Baud rate", 57, 46, 32, 8},
    {1089, K::Static, "Transmission mode", 31, 67, 61, 8},
    {1047, K::ComboBox, "", 94, 44, 56, 51, kVScroll},
    {1046, K::ComboBox, "", 94, 65, 55, 49, kVScroll},
    {1090, K::Static, "Login", 179, 47, 18, 8},
    {1091, K::Static, "Password", 167, 68, 32, 8},
    {1052, K::Edit, "", 203, 44, 70, 14, kBorder | kAutoHScroll},
    {1051, K::Edit, "", 203, 65, 70, 14, kBorder | kPassword | kAutoHScroll},
    {1079, K::PushButton, "Connect", 299, 46, 50, 14},
    {1086, K::GroupBox, "Configuration", 9, 110, 426, 182},
    {1065, K::ComboBox, "", 260, 227, 103, 49, kVScroll},
    {1105, K::Static, "Serial port profile", 200, 230, 56, 8},
    {1092, K::Static, "Connection status", 326, 70, 61, 11},
    {1082, K::PushButton, "Disconnect", 367, 46, 50, 14},
    {1081, K::PushButton, "Load configuration", 83, 273, 80, 14},
    {1080, K::PushButton, "Save configration", 189, 273, 75, 14},
    {1032, K::Static, "Disconnected", 336, 82, 44, 8},
    {1078, K::PushButton, "Device information", 293, 273, 103, 14},
    {1106, K::Static, "Adres IP", 31, 143, 31, 8},
    {1022, K::IpAddress, "", 66, 141, 100, 15},
    {1076, K::PushButton, "Refresh list", 304, 22, 104, 14},
    {1116, K::Static, "Subnet mask", 18, 185, 44, 10},
    {1111, K::Static, "Gateway", 31, 229, 31, 10},
    {1113, K::Static, "DHCP", 235, 143, 21, 8},
    {1025, K::ComboBox, "", 260, 141, 48, 45, kVScroll},
    {1117, K::Static, "Speed", 231, 186, 23, 10},
    {1115, K::ComboBox, "", 260, 184, 61, 43, kVScroll},
    {1109, K::IpAddress, "", 65, 182, 100, 15},
    {1110, K::IpAddress, "", 65, 227, 100, 15},
    // The exchange log: every line sent and every reply, never shown.
    {1077, K::ListBox, "", 88, 80, 215, 38, kHidden | kVScroll},
};

constexpr ControlTemplate kUsbInfo[] = {
    {2, K::PushButton, "Close", 21, 276, 95, 14, kCancelButton},
    {1077, K::ListBox, "", 130, 7, 267, 299, kBorder | kVScroll | kNoIntegralHeight},
    {1043, K::PushButton, "Device information", 21, 18, 95, 14},
    {1070, K::PushButton, "Connection state", 21, 42, 95, 14},
    {1071, K::PushButton, "IP Settings", 22, 65, 95, 14},
    {1072, K::PushButton, "Uptime", 21, 89, 95, 14},
    {1075, K::PushButton, "Users permissions", 21, 113, 95, 14},
};

constexpr std::uint32_t kModalDialog = kPopup | kCaption | kSystemMenu | kModalFrame;

constexpr DialogTemplate kUsbTemplates[] = {
    {141, "Configuration via USB", 440, 334, "MS Shell Dlg", 8, kModalDialog, kUsbWindow},
    {149, "Informacje", 404, 313, "MS Shell Dlg", 8, kModalDialog, kUsbInfo},
};

}  // namespace

std::span<const DialogTemplate> UsbDialogTemplates() { return kUsbTemplates; }

}  // namespace resources
