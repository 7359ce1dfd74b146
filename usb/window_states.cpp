#include "usb/window_states.h"

#include "usb/window_controls.h"

void ShowLoggingIn() {
    EnableConnectionFields(false);
    g_btnDisconnect.EnableWindow(true);
    g_btnConnect.EnableWindow(false);
    g_btnRefresh.EnableWindow(false);
}

void ShowReadyToConnect() {
    g_btnDisconnect.EnableWindow(false);
    g_btnConnect.EnableWindow(true);
    g_btnRefresh.EnableWindow(true);
    EnableConnectionFields(true);
}

void ShowLoggedOut() {
    SetStatusText(kStringDisconnected);
    ShowReadyToConnect();
    EnableConfigurationControls(false);
    EnableFileMenu(false);
}

void ShowConnected() {
    SetStatusText(kStringConnected);
    EnableConfigurationControls(true);
    EnableFileMenu(true);
}
