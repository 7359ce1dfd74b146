#pragma once
// A simulated converter console behind the program's real driver (with writes recorded and
// failures on demand), every control the console exchanges switch bound to a plain widget, the
// window's File menu, and checks of the window state the exchanges leave.

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "lan_dialogs/progress.h"
#include "platform/ui/combo_box_widget.h"
#include "platform/ui/ip_address_field.h"
#include "tests/support/modal.h"
#include "tests/usb/usb_fixture.h"
#include "tests/usb_console/scripted_driver.h"
#include "usb/console.h"
#include "usb/device_list.h"
#include "usb/setting_fields.h"

inline const std::string kWakeUp("\0\r", 2);

inline std::vector<std::string> Repeated(int times, const std::vector<std::string>& lines) {
    std::vector<std::string> all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), lines.begin(), lines.end());
    return all;
}

inline std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// What an exchange leaves in the window; nothing given means left as it was.
struct WindowState {
    std::optional<QString> status;
    std::optional<bool> connect, disconnect, refresh, fields, config, menu;
};

class ConsoleTest : public UsbLinkTest {
protected:
    void SetUp() override {
        UsbLinkTest::SetUp();
        platform::SetDefaultFtdiDriver(&m_scripted);
        g_btnRefresh.Attach(m_refresh);
        g_stStatus.Attach(m_status);
        g_lbLog.Attach(m_log);
        for (std::size_t i = 0; i < m_config.size(); ++i) ConfigControls()[i]->Attach(m_config[i]);
        ASSERT_TRUE(g_fileMenu.LoadMenu(153));
        g_fileMenu.BuildInto(m_window, [](int) {});
    }

    void TearDown() override {
        for (platform::ui::CWnd* control : ConfigControls()) control->Detach();
        g_btnRefresh.Detach();
        g_stStatus.Detach();
        g_lbLog.Detach();
        UsbLinkTest::TearDown();
    }

    static std::array<platform::ui::CWnd*, 10> ConfigControls() {
        return {&g_cbProfile, &g_btnDeviceInfo, &g_btnSaveConfig, &g_btnLoadConfig, &g_ipAddress,
                &g_ipSubmask, &g_ipGateway,     &g_cbDhcp,        &g_cbSpeed,       &g_btnRestart};
    }

    static std::array<platform::ui::CWnd*, 5> ConnectionFields() {
        return {&g_cbDevice, &g_cbBaudRate, &g_cbLineMode, &g_editLogin, &g_editPassword};
    }

    sim::console::SimulatedConsole& StartConsole(const sim::console::ConsoleOptions& options = {},
                                                 const sim::console::ConsoleFaults& faults = {}) {
        m_console = &m_tree.AddConsole({.ttyNumber = 0}, options);
        m_console->SetFaults(faults);
        return *m_console;
    }

    // The link as the connect worker has it when the console login starts.
    void OpenLink() {
        UsbEnumerate();
        ASSERT_TRUE(UsbOpenSelected(g_cbDevice.GetWindowText()));
        UsbPurge();
    }
    // ...and as the login leaves it.
    void OpenLoggedInLink() {
        OpenLink();
        ASSERT_EQ(m_driver.SetTimeouts(g_usbLink.handle, 1000, 1000), platform::FtdiStatus::kOk);
    }

    // The connect worker's console part, behind the progress panel as the window runs it.
    void Connect(const QString& login, const QString& password) {
        g_strLogin = login;
        g_strPassword = password;
        RunWorker(ConsoleConnect);
    }

    // A worker behind the progress panel, as the window runs it. The worker may end the panel
    // before its loop runs, so nothing is queued to run inside it; a panel the worker never ends
    // fails the test instead of hanging it.
    void RunWorker(void (*work)()) {
        std::thread worker(work);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { g_dlgProgress.EndDialog(-2); });
        watchdog.start(20000);
        const int result = g_dlgProgress.DoModal();
        worker.join();
        EXPECT_EQ(result, 1) << "the progress panel was not ended";
    }

    // The console's lines once it has heard everything the program wrote.
    std::vector<std::string> LinesReceived() const {
        EXPECT_TRUE(m_console->WaitUntilAnswered(kAnswerLimit));
        return m_console->ReceivedLines();
    }

    QStringList LogEntries() const {
        QStringList entries;
        for (int i = 0; i < g_lbLog.GetCount(); ++i) entries << g_lbLog.GetText(i);
        return entries;
    }

    // Each element the exchange is expected to switch starts in the other state, so that a switch
    // left out shows; the others start on.
    void PresetWindow(const WindowState& expected) {
        g_stStatus.SetWindowText(kStatusBefore);
        g_btnConnect.EnableWindow(!expected.connect.value_or(false));
        g_btnDisconnect.EnableWindow(!expected.disconnect.value_or(false));
        g_btnRefresh.EnableWindow(!expected.refresh.value_or(false));
        EnableConnectionFields(!expected.fields.value_or(false));
        EnableConfigurationControls(!expected.config.value_or(false));
        EnableFileMenu(!expected.menu.value_or(false));
    }

    void ExpectWindow(const WindowState& expected) const {
        EXPECT_EQ(g_stStatus.GetWindowText(), expected.status.value_or(kStatusBefore));
        EXPECT_EQ(g_btnConnect.IsWindowEnabled(), expected.connect.value_or(true)) << "Connect";
        EXPECT_EQ(g_btnDisconnect.IsWindowEnabled(), expected.disconnect.value_or(true)) << "Disconnect";
        EXPECT_EQ(g_btnRefresh.IsWindowEnabled(), expected.refresh.value_or(true)) << "Refresh list";
        for (const platform::ui::CWnd* field : ConnectionFields())
            EXPECT_EQ(field->IsWindowEnabled(), expected.fields.value_or(true)) << "connection field";
        for (const platform::ui::CWnd* control : ConfigControls())
            EXPECT_EQ(control->IsWindowEnabled(), expected.config.value_or(true)) << "configuration control";
        for (const int item : {kIdSaveToFile, kIdLoadFromFile})
            EXPECT_EQ(g_fileMenu.IsMenuItemEnabled(item), expected.menu.value_or(true)) << "menu item " << item;
    }

    static inline const QString kStatusBefore = QStringLiteral("(status before)");

    ScriptedDriver m_scripted{m_inTurn};
    sim::console::SimulatedConsole* m_console = nullptr;

private:
    QWidget m_window;
    QPushButton* m_refresh = new QPushButton(&m_window);
    QLabel* m_status = new QLabel(&m_window);
    QListWidget* m_log = new QListWidget(&m_window);
    std::array<QWidget*, 10> m_config{
        new platform::ui::ComboBoxWidget(true, false, &m_window), new QPushButton(&m_window),
        new QPushButton(&m_window),                               new QPushButton(&m_window),
        new platform::ui::IpAddressField(&m_window),              new platform::ui::IpAddressField(&m_window),
        new platform::ui::IpAddressField(&m_window),              new platform::ui::ComboBoxWidget(true, false, &m_window),
        new platform::ui::ComboBoxWidget(true, false, &m_window), new QPushButton(&m_window)};
};
