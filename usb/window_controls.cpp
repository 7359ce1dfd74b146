#include "usb/window_controls.h"

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
}

void EnableConnectionFields(bool enable) {
    g_cbDevice.EnableWindow(enable);
    g_cbBaudRate.EnableWindow(enable);
    g_cbLineMode.EnableWindow(enable);
    g_editPassword.EnableWindow(enable);
    g_editLogin.EnableWindow(enable);
}
