#include "usb/setting_checks.h"

#include <QString>
#include <cstdint>

#include "platform/ui/seams.h"
#include "resources/dialog_template.h"
#include "usb/window_controls.h"

namespace {

// The labels beside the fields, whose texts name the fields to the user.
constexpr int kIpAddressLabel = 1106;
constexpr int kSubmaskLabel = 1116;
constexpr int kGatewayLabel = 1111;
constexpr int kDhcpLabel = 1113;
constexpr int kSpeedLabel = 1117;
constexpr int kProfileLabel = 1105;

QString FieldName(int labelId) {
    if (const resources::DialogTemplate* window = resources::FindDialogTemplate(kUsbWindowTemplate))
        for (const resources::ControlTemplate& control : window->controls)
            if (control.id == labelId)
                return QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
    return QString();
}

bool IsPartlyFilled(const platform::ui::CIPAddressCtrl& field) {
    std::uint32_t ignored = 0;
    const int filled = field.GetAddress(ignored);
    return filled != 0 && filled != 4;
}

bool Refuse(const QString& why) {
    platform::ui::MessageBox(why);
    return false;
}

bool CheckAddress(const platform::ui::CIPAddressCtrl& field, int label) {
    if (!IsPartlyFilled(field)) return true;
    return Refuse(
        QStringLiteral("%1: \"%2\" is not a whole address. Fill in all four numbers, or clear the field.")
            .arg(FieldName(label), field.GetWindowText()));
}

bool CheckList(const platform::ui::CComboBox& list, int label) {
    if (list.GetCurSel() >= 0) return true;
    return Refuse(
        QStringLiteral("%1: no entry of the list is chosen; the field shows \"%2\". Choose an entry from "
                       "the list.")
            .arg(FieldName(label), list.GetWindowText()));
}

}  // namespace

bool SettingsMeanWhatTheyShow(bool withAddresses) {
    if (withAddresses &&
        !(CheckAddress(g_ipAddress, kIpAddressLabel) && CheckAddress(g_ipSubmask, kSubmaskLabel) &&
          CheckAddress(g_ipGateway, kGatewayLabel)))
        return false;
    return CheckList(g_cbDhcp, kDhcpLabel) && CheckList(g_cbSpeed, kSpeedLabel) &&
           CheckList(g_cbProfile, kProfileLabel);
}
