// The Configuration via USB window.

#include "resources/templates.h"

namespace resources {
namespace {

using K = ControlKind;

constexpr ControlTemplate kUsbWindow[] = {
    {2, K::PushButton, "Close window", 246, 305, 76, 14, kCancelButton},
};

constexpr std::uint32_t kModalDialog = kPopup | kCaption | kSystemMenu | kModalFrame;

constexpr DialogTemplate kUsbTemplates[] = {
    {141, "Configuration via USB", 440, 334, "MS Shell Dlg", 8, kModalDialog, kUsbWindow},
};

}  // namespace

std::span<const DialogTemplate> UsbDialogTemplates() { return kUsbTemplates; }

}  // namespace resources
