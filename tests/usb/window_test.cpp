#include <gtest/gtest.h>

#include "platform/ui/dialog.h"
#include "tests/support/modal.h"
#include "tests/usb/usb_fixture.h"
#include "usb/device_list.h"

namespace {

using resources::ControlKind;
using K = ControlKind;

// The window's controls by identifier and kind; places do not matter here.
constexpr resources::ControlTemplate kControls[] = {
    {kIdRestart, K::DefaultButton, "Restart TQ7", 0, 0, 10, 10},
    {kIdDevice, K::ComboBox, "", 0, 0, 10, 10, resources::kSorted},
    {kIdBaudRate, K::ComboBox, "", 0, 0, 10, 10},
    {kIdLineMode, K::ComboBox, "", 0, 0, 10, 10},
    {kIdLogin, K::Edit, "", 0, 0, 10, 10},
    {kIdPassword, K::Edit, "", 0, 0, 10, 10, resources::kPassword},
    {kIdConnect, K::PushButton, "Connect", 0, 0, 10, 10},
    {kIdDisconnect, K::PushButton, "Disconnect", 0, 0, 10, 10},
    {kIdRefresh, K::PushButton, "Refresh list", 0, 0, 10, 10},
    {kIdStatus, K::Static, "Disconnected", 0, 0, 10, 10},
    {kIdProfile, K::ComboBox, "", 0, 0, 10, 10},
    {kIdLoadConfig, K::PushButton, "Load configuration", 0, 0, 10, 10},
    {kIdSaveConfig, K::PushButton, "Save configration", 0, 0, 10, 10},
    {kIdDeviceInfo, K::PushButton, "Device information", 0, 0, 10, 10},
    {kIdIpAddress, K::IpAddress, "", 0, 0, 10, 10},
    {kIdSubmask, K::IpAddress, "", 0, 0, 10, 10},
    {kIdGateway, K::IpAddress, "", 0, 0, 10, 10},
    {kIdDhcp, K::ComboBox, "", 0, 0, 10, 10},
    {kIdSpeed, K::ComboBox, "", 0, 0, 10, 10},
    {kIdLog, K::ListBox, "", 0, 0, 10, 10},
    {kIdCloseWindow, K::PushButton, "Close window", 0, 0, 10, 10, resources::kCancelButton},
};
constexpr resources::DialogTemplate kWindow{990, "Configuration via USB", 440, 334, "MS Shell Dlg", 8,
                                            resources::kPopup, kControls};

class Window : public platform::ui::CDialog {
public:
    Window() : CDialog(kWindow) {}

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override { BindWindowControls(dx); }
};

using UsbWindowTest = UsbLinkTest;

TEST_F(UsbWindowTest, TheWindowBindsTheControlsWhileItIsOpen) {
    m_tree.AddPort({.ttyNumber = 3});
    Window window;
    const std::pair<int, const platform::ui::CWnd*> bound[] = {
        {kIdRestart, &g_btnRestart},     {kIdDevice, &g_cbDevice},         {kIdBaudRate, &g_cbBaudRate},
        {kIdLineMode, &g_cbLineMode},    {kIdLogin, &g_editLogin},         {kIdPassword, &g_editPassword},
        {kIdConnect, &g_btnConnect},     {kIdDisconnect, &g_btnDisconnect}, {kIdRefresh, &g_btnRefresh},
        {kIdStatus, &g_stStatus},        {kIdProfile, &g_cbProfile},       {kIdLoadConfig, &g_btnLoadConfig},
        {kIdSaveConfig, &g_btnSaveConfig}, {kIdDeviceInfo, &g_btnDeviceInfo}, {kIdIpAddress, &g_ipAddress},
        {kIdSubmask, &g_ipSubmask},      {kIdGateway, &g_ipGateway},       {kIdDhcp, &g_cbDhcp},
        {kIdSpeed, &g_cbSpeed},          {kIdLog, &g_lbLog},
    };
    testsupport::RunModal(window, [&] {
        for (const auto& [id, control] : bound) {
            EXPECT_NE(control->Widget(), nullptr) << id;
            EXPECT_EQ(control->Widget(), window.GetDlgItem(id)) << id;
        }
        g_btnConnect.EnableWindow(false);
        EnableConnectionFields(false);
        UsbEnumerate();
        EXPECT_EQ(window.GetDlgItem(kIdDevice)->property("currentText").toString(), "TQ7 Converter, COM 3");
        EXPECT_TRUE(window.GetDlgItem(kIdConnect)->isEnabled());
        for (const int field : {kIdDevice, kIdBaudRate, kIdLineMode, kIdLogin, kIdPassword})
            EXPECT_TRUE(window.GetDlgItem(field)->isEnabled()) << field;
        window.EndDialog(platform::ui::kIdCancel);
    });

    // With the window gone the objects are bound to nothing, and the link's calls on them do
    // nothing.
    EXPECT_FALSE(g_cbDevice.IsAttached());
    UsbEnumerate();
    EXPECT_EQ(g_cbDevice.GetCount(), 0);
    EXPECT_EQ(g_usbLink.errorState, kLinkFailed);  // no list means no converter to work on
}

}  // namespace
