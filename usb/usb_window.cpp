#include "usb/usb_window.h"

#include <stdexcept>

#include "lan_dialogs/progress.h"
#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"
#include "settings/value_tables.h"
#include "usb/config_file.h"
#include "usb/console.h"
#include "usb/device_list.h"
#include "usb/exchange_log.h"
#include "usb/link.h"
#include "usb/setting_checks.h"
#include "usb/setting_fields.h"
#include "usb/settings_workers.h"
#include "usb/window_controls.h"
#include "usb/window_states.h"

namespace {

constexpr int kMenu = 153;
constexpr unsigned kProgressTickMs = 100;

void ConnectWorker() {
    g_usbLink.errorState = kNoError;
    const QString noDevice = platform::ui::TableText(kStringNoDevice);
    if (g_cbDevice.GetCount() == 1 && g_cbDevice.GetWindowText() == noDevice) {
        platform::ui::MessageBox(noDevice);
        g_usbLink.errorState = kLinkFailed;
        g_dlgProgress.Finish();
        return;
    }
    ClearExchangeLog();
    UsbOpenSelected(g_cbDevice.GetWindowText());
    LogExchange("open success");
    if (g_usbLink.errorState != kNoError) {
        SetStatusText(kStringDisconnected);
        ShowReadyToConnect();
        g_dlgProgress.Finish();
        return;
    }
    UsbPurge();
    ConsoleConnect();
    LogExchange("Check ok");
}

}  // namespace

CWLan::CWLan(platform::ui::CDialog* parent) : CDialog(kUsbWindowTemplate, parent) {
    OnCommand(kIdConnect, [this] { OnConnect(); });
    OnCommand(kIdDisconnect, [this] { OnDisconnect(); });
    OnCommand(kIdRefresh, [this] { OnRefreshList(); });
    OnCommand(kIdDeviceInfo, [this] { OnDeviceInfo(); });
    OnCommand(kIdLoadConfig, [this] { OnLoadConfiguration(); });
    OnCommand(kIdSaveConfig, [this] { OnSaveConfiguration(); });
    OnCommand(kIdRestart, [this] { OnRestart(); });
    OnCommand(kIdCloseWindow, [this] { OnCloseWindow(); });
    OnCommand(kIdSaveToFile, [this] {
        UpdateData(true);
        OnSaveToFile();
    });
    OnCommand(kIdLoadFromFile, [] { OnLoadFromFile(); });
    OnSelectionChange(kIdDhcp, [] { OnDhcpSelChange(); });
}

void CWLan::DoDataExchange(platform::ui::DataExchange& dx) {
    BindWindowControls(dx);
    dx.Text(kIdPassword, g_strPassword);
    dx.MaxChars(kIdPassword, g_strPassword, kLongestLoginText);
    dx.Text(kIdLogin, g_strLogin);
    dx.MaxChars(kIdLogin, g_strLogin, kLongestLoginText);
}

bool CWLan::OnInitDialog() {
    CDialog::OnInitDialog();
    // Each opening asks for the login again, though the texts of the last one are kept.
    g_editLogin.SetWindowText(QString());
    g_editPassword.SetWindowText(QString());
    g_btnDisconnect.EnableWindow(false);
    EnableConnectionFields(true);
    FillSettingLists();
    UsbEnumerate();
    EnableConfigurationControls(false);
    if (!g_fileMenu.LoadMenu(kMenu)) throw std::logic_error("the USB window's menu is missing");
    SetMenu(g_fileMenu);
    EnableFileMenu(false);
    return true;
}

// Hiding right after the start is safe: the worker's own control changes wait for this thread,
// which serves them only once the panel's loop runs.
void CWLan::RunBehindProgress(WorkerThread& worker, void (*work)()) {
    g_dlgProgress.SetInterval(kProgressTickMs);
    g_dlgProgress.ExpectFinish();
    worker.Start(work);
    ShowWindowControls(false);
    g_dlgProgress.DoModal();
    // A worker's last steps may follow its Finish; the handler goes on, perhaps to the next
    // worker, only once this one is gone, so that two never overlap.
    worker.Wait();
}

void CWLan::DisableWhatNeedsTheConsole() {
    EnableFileMenu(false);
    EnableConfigurationControls(false);
}

void CWLan::OnConnect() {
    UpdateData(true);  // a field over its limit has been reported; the login goes ahead as typed
    RunBehindProgress(m_connectWorker, ConnectWorker);
    if (g_usbLink.errorState != kNoError) {
        ShowWindowControls(true);
        return;
    }
    // Every connect reads the converter's settings at once.
    OnLoadConfiguration();
}

void CWLan::OnLoadConfiguration() {
    ShowWindowControls(false);
    RunBehindProgress(m_loadWorker, LoadWorker);
    UpdateData(false);
    if (g_usbLink.errorState == kLinkFailed) DisableWhatNeedsTheConsole();
}

void CWLan::OnSaveConfiguration() {
    UpdateData(true);
    // The address fields are sent for a static address only.
    if (!SettingsMeanWhatTheyShow(g_cbDhcp.GetCurSel() == settings::kDhcpOff)) return;
    RunBehindProgress(m_applyWorker, ApplyWorker);
    if (g_usbLink.errorState == kLinkFailed) DisableWhatNeedsTheConsole();
}

void CWLan::OnDisconnect() { ConsoleLogout(LogoutCaller::kDisconnect); }

void CWLan::OnRefreshList() {
    g_usbLink.errorState = kNoError;
    UsbEnumerate();
}

void CWLan::OnRestart() {
    ConsoleRestart();
    ShowWindowControls(true);
    SetStatusText(kStringDisconnected);
    ShowReadyToConnect();
    UsbClose();
    // The file menu keeps its state: what it works on is still in the fields.
    EnableConfigurationControls(false);
    if (g_usbLink.errorState == kLinkFailed) ReportConnectionError();
}

void CWLan::OnDeviceInfo() {
    m_info.SetDevice(g_usbLink.handle);
    if (m_info.DoModal() != platform::ui::kIdCancel) return;
    g_usbLink.errorState = m_info.HasFailed();
    if (g_usbLink.errorState != kLinkFailed) return;
    ShowReadyToConnect();
    SetStatusText(kStringDisconnected);
    EnableConfigurationControls(false);
    UsbClose();
    ReportConnectionError();
}

// The console stays logged in: closing the window is not a logout.
void CWLan::OnCloseWindow() {
    UsbClose();
    EndDialog(platform::ui::kIdCancel);
}
