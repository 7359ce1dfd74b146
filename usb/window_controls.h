#pragma once
// The control objects of the Configuration via USB window. They live for the whole run, so that
// the link, the console exchanges and the workers reach them from any thread; the window binds
// them to its widgets each time it opens (BindWindowControls from its data exchange), and while
// it is closed every call on them does nothing.

#include "platform/ui/controls.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/menu.h"

inline constexpr int kUsbWindowTemplate = 141;

// Control identifiers of the window's template.
inline constexpr int kIdRestart = 1;
inline constexpr int kIdCloseWindow = 2;
inline constexpr int kIdDevice = 1057;
inline constexpr int kIdBaudRate = 1047;
inline constexpr int kIdLineMode = 1046;
inline constexpr int kIdLogin = 1052;
inline constexpr int kIdPassword = 1051;
inline constexpr int kIdConnect = 1079;
inline constexpr int kIdDisconnect = 1082;
inline constexpr int kIdRefresh = 1076;
inline constexpr int kIdStatus = 1032;
inline constexpr int kIdProfile = 1065;
inline constexpr int kIdLoadConfig = 1081;
inline constexpr int kIdSaveConfig = 1080;
inline constexpr int kIdDeviceInfo = 1078;
inline constexpr int kIdIpAddress = 1022;
inline constexpr int kIdSubmask = 1109;
inline constexpr int kIdGateway = 1110;
inline constexpr int kIdDhcp = 1025;
inline constexpr int kIdSpeed = 1115;
inline constexpr int kIdLog = 1077;
inline constexpr int kIdSaveToFile = 32771;
inline constexpr int kIdLoadFromFile = 32772;
inline constexpr int kStringConnected = 19;
inline constexpr int kStringDisconnected = 20;

extern platform::ui::CComboBox g_cbDevice;
extern platform::ui::CComboBox g_cbBaudRate;
extern platform::ui::CComboBox g_cbLineMode;
extern platform::ui::CEdit g_editLogin;
extern platform::ui::CEdit g_editPassword;
extern platform::ui::CButton g_btnConnect;
extern platform::ui::CButton g_btnDisconnect;
extern platform::ui::CButton g_btnRefresh;
extern platform::ui::CButton g_btnRestart;
extern platform::ui::CStatic g_stStatus;
extern platform::ui::CComboBox g_cbProfile;
extern platform::ui::CButton g_btnLoadConfig;
extern platform::ui::CButton g_btnSaveConfig;
extern platform::ui::CButton g_btnDeviceInfo;
extern platform::ui::CIPAddressCtrl g_ipAddress;
extern platform::ui::CIPAddressCtrl g_ipSubmask;
extern platform::ui::CIPAddressCtrl g_ipGateway;
extern platform::ui::CComboBox g_cbDhcp;
extern platform::ui::CComboBox g_cbSpeed;
extern platform::ui::CListBox g_lbLog;
// The window's menu bar: "Save to file" and "Load from file".
extern platform::ui::CMenu g_fileMenu;

// Binds every control object above to the window's control with its identifier. Controls the
// window lacks stay unbound.
void BindWindowControls(platform::ui::DataExchange& dx);

// The fields the user picks the connection with: Device, Baud rate, Transmission mode, Password
// and Login. Any thread.
void EnableConnectionFields(bool enable);

// Profile, Device information, Save and Load configuration, the address fields, DHCP, Speed and
// Restart: what works on a logged-in console. Any thread.
void EnableConfigurationControls(bool enable);

// Hides every control of the window but the exchange log while a worker runs, and shows them
// again; their enabled states stay as they are. Any thread.
void ShowWindowControls(bool show);

// The connection status line: kStringConnected or kStringDisconnected. Any thread.
void SetStatusText(int stringId);

// "Save to file" and "Load from file", together; disabled items are grayed. Any thread.
void EnableFileMenu(bool enable);
