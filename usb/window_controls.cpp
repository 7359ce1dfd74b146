#include "usb/window_controls.h"

#include <iterator>

#include "platform/ui/table_text.h"

using platform::ui::CButton;
using platform::ui::CComboBox;
using platform::ui::CEdit;
using platform::ui::CIPAddressCtrl;
using platform::ui::CListBox;
using platform::ui::CStatic;

CComboBox g_cbDevice;
CComboBox g_cbBaudRate;
CComboBox g_cbLineMode;
CEdit g_editLogin;
CEdit g_editPassword;
CButton g_btnConnect;
CButton g_btnDisconnect;
CButton g_btnRefresh;
CButton g_btnRestart;
CStatic g_stStatus;
CComboBox g_cbProfile;
CButton g_btnLoadConfig;
CButton g_btnSaveConfig;
CButton g_btnDeviceInfo;
CIPAddressCtrl g_ipAddress;
CIPAddressCtrl g_ipSubmask;
CIPAddressCtrl g_ipGateway;
CComboBox g_cbDhcp;
CComboBox g_cbSpeed;
CListBox g_lbLog;
platform::ui::CMenu g_fileMenu;

namespace {

// Close window, the labels and the group boxes, which only ShowWindowControls touches.
constexpr int kPlainControlIds[] = {kIdCloseWindow, 1085, 1087, 1088, 1089, 1090, 1091, 1086,
                                    1105,           1092, 1106, 1116, 1111, 1113, 1117};
platform::ui::CWnd g_plainControls[std::size(kPlainControlIds)];

// Every control that ShowWindowControls hides: all but the exchange log.
platform::ui::CWnd* const kShownControls[] = {
    &g_btnRestart,    &g_cbDevice,      &g_cbBaudRate,   &g_cbLineMode,    &g_editLogin,  &g_editPassword,
    &g_btnConnect,    &g_btnDisconnect, &g_btnRefresh,   &g_stStatus,      &g_cbProfile,  &g_btnLoadConfig,
    &g_btnSaveConfig, &g_btnDeviceInfo, &g_ipAddress,    &g_ipSubmask,     &g_ipGateway,  &g_cbDhcp,
    &g_cbSpeed,
};

}  // namespace

void BindWindowControls(platform::ui::DataExchange& dx) {
    dx.Control(kIdRestart, g_btnRestart);
    dx.Control(kIdDevice, g_cbDevice);
    dx.Control(kIdBaudRate, g_cbBaudRate);
    dx.Control(kIdLineMode, g_cbLineMode);
    dx.Control(kIdLogin, g_editLogin);
    dx.Control(kIdPassword, g_editPassword);
    dx.Control(kIdConnect, g_btnConnect);
    dx.Control(kIdDisconnect, g_btnDisconnect);
    dx.Control(kIdRefresh, g_btnRefresh);
    dx.Control(kIdStatus, g_stStatus);
    dx.Control(kIdProfile, g_cbProfile);
    dx.Control(kIdLoadConfig, g_btnLoadConfig);
    dx.Control(kIdSaveConfig, g_btnSaveConfig);
    dx.Control(kIdDeviceInfo, g_btnDeviceInfo);
    dx.Control(kIdIpAddress, g_ipAddress);
    dx.Control(kIdSubmask, g_ipSubmask);
    dx.Control(kIdGateway, g_ipGateway);
    dx.Control(kIdDhcp, g_cbDhcp);
    dx.Control(kIdSpeed, g_cbSpeed);
    dx.Control(kIdLog, g_lbLog);
    for (std::size_t i = 0; i < std::size(kPlainControlIds); ++i) dx.Control(kPlainControlIds[i], g_plainControls[i]);
}

void EnableConnectionFields(bool enable) {
    g_cbDevice.EnableWindow(enable);
    g_cbBaudRate.EnableWindow(enable);
    g_cbLineMode.EnableWindow(enable);
    g_editPassword.EnableWindow(enable);
    g_editLogin.EnableWindow(enable);
}

void EnableConfigurationControls(bool enable) {
    g_cbProfile.EnableWindow(enable);
    g_btnDeviceInfo.EnableWindow(enable);
    g_btnSaveConfig.EnableWindow(enable);
    g_btnLoadConfig.EnableWindow(enable);
    g_ipAddress.EnableWindow(enable);
    g_ipSubmask.EnableWindow(enable);
    g_ipGateway.EnableWindow(enable);
    g_cbDhcp.EnableWindow(enable);
    g_cbSpeed.EnableWindow(enable);
    g_btnRestart.EnableWindow(enable);
}

void ShowWindowControls(bool show) {
    // One hand-over to the UI thread for all of them, so the window never shows half of them.
    platform::ui::CallOnUiThread([show] {
        for (platform::ui::CWnd* control : kShownControls) control->ShowWindow(show);
        for (platform::ui::CWnd& control : g_plainControls) control.ShowWindow(show);
    });
}

void SetStatusText(int stringId) { g_stStatus.SetWindowText(platform::ui::TableText(stringId)); }

void EnableFileMenu(bool enable) {
    g_fileMenu.EnableMenuItem(kIdSaveToFile, enable);
    g_fileMenu.EnableMenuItem(kIdLoadFromFile, enable);
}
