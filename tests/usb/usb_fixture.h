#pragma once
// The USB window's connection controls as plain widgets bound to the module-level control
// objects, the baud-rate and mode lists filled as the window fills them, a fake device tree whose
// driver is the program's (its consoles answering in turn), a fresh link state, and every message
// box recorded.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <mutex>

#include "platform/ftdi.h"
#include "platform/ftdi_linux.h"
#include "platform/time.h"
#include "platform/ui/combo_box_widget.h"
#include "platform/ui/seams.h"
#include "settings/value_tables.h"
#include "sim/console/device_tree.h"
#include "tests/usb/in_turn_driver.h"
#include "usb/link.h"
#include "usb/window_controls.h"

inline constexpr const char* kConnectionError =
    "Connection error. Check if device is connected. Check the connection parameters.";

class UsbLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetTimeScale(0.1);
        g_usbLink = UsbLinkState{};
        platform::SetDefaultFtdiDriver(&m_inTurn);
        platform::ui::SetMessageBoxHandler([this](const QString& text, const QString&) {
            std::lock_guard guard(m_messagesLock);
            m_messages.push_back(text);
            return platform::ui::kIdOk;
        });
        g_cbDevice.Attach(m_device);
        g_cbBaudRate.Attach(m_baudRate);
        g_cbLineMode.Attach(m_lineMode);
        g_editLogin.Attach(m_login);
        g_editPassword.Attach(m_password);
        g_btnConnect.Attach(m_connect);
        g_btnDisconnect.Attach(m_disconnect);
        for (const auto& rate : settings::kBaudRates) g_cbBaudRate.AddString(Text(rate.text));
        g_cbBaudRate.SetCurSel(settings::kDefaultBaudRatePosition);
        for (const auto& mode : settings::kLineModes) g_cbLineMode.AddString(Text(mode.text));
        g_cbLineMode.SetCurSel(settings::kDefaultLineModePosition);
    }

    void TearDown() override {
        UsbClose();
        for (platform::ui::CWnd* control : std::initializer_list<platform::ui::CWnd*>{
                 &g_cbDevice, &g_cbBaudRate, &g_cbLineMode, &g_editLogin, &g_editPassword, &g_btnConnect,
                 &g_btnDisconnect})
            control->Detach();
        platform::ui::ResetSeams();
        platform::SetDefaultFtdiDriver(nullptr);
        platform::SetTimeScale(1.0);
    }

    static QString Text(std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }

    QStringList DeviceEntries() const {
        QStringList entries;
        for (int i = 0; i < g_cbDevice.GetCount(); ++i) entries << g_cbDevice.GetLBText(i);
        return entries;
    }

    QStringList Messages() {
        std::lock_guard guard(m_messagesLock);
        return m_messages;
    }
    void ClearMessages() {
        std::lock_guard guard(m_messagesLock);
        m_messages.clear();
    }

    // Connect, Disconnect and the connection fields as the user sees them.
    bool ConnectEnabled() const { return m_connect->isEnabled(); }
    bool DisconnectEnabled() const { return m_disconnect->isEnabled(); }
    bool ConnectionFieldsEnabled() const {
        return m_device->isEnabled() && m_baudRate->isEnabled() && m_lineMode->isEnabled() &&
               m_login->isEnabled() && m_password->isEnabled();
    }
    void SetControlsEnabled(bool enabled) {
        for (QWidget* widget : std::initializer_list<QWidget*>{m_device, m_baudRate, m_lineMode, m_login, m_password,
                                                                m_connect, m_disconnect})
            widget->setEnabled(enabled);
    }

    sim::console::FakeDeviceTree m_tree;
    platform::SysfsFtdiDriver m_driver{m_tree.Roots()};
    InTurnDriver m_inTurn{m_driver, m_tree};

private:
    QWidget m_window;
    platform::ui::ComboBoxWidget* m_device = new platform::ui::ComboBoxWidget(true, true, &m_window);
    platform::ui::ComboBoxWidget* m_baudRate = new platform::ui::ComboBoxWidget(true, false, &m_window);
    platform::ui::ComboBoxWidget* m_lineMode = new platform::ui::ComboBoxWidget(true, false, &m_window);
    QLineEdit* m_login = new QLineEdit(&m_window);
    QLineEdit* m_password = new QLineEdit(&m_window);
    QPushButton* m_connect = new QPushButton(&m_window);
    QPushButton* m_disconnect = new QPushButton(&m_window);
    std::mutex m_messagesLock;
    QStringList m_messages;
};
