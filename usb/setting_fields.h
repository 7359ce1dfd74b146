#pragma once
// The converter settings as the Configuration via USB window holds them: one control each, filled
// with its value list, plus the login and password the window commits when Connect is pressed.

#include <QString>

// The Login and Password fields as committed at the last Connect; at most 16 characters each.
extern QString g_strLogin;
extern QString g_strPassword;
inline constexpr int kLongestLoginText = 16;

// Fills the baud-rate, transmission-mode, profile, DHCP and speed lists with their first
// selections (9600 bit/s, 8N1, Local configuration, none, auto). UI thread, at the window's start.
void FillSettingLists();

// The three address fields, together; their contents stay as they are. Any thread.
void EnableAddressFields(bool enable);

// The address fields are editable exactly when DHCP is "Off": a selection of "Off" enables them,
// of "On" disables them, anything else leaves them. UI thread, on a change of the DHCP list.
void OnDhcpSelChange();
