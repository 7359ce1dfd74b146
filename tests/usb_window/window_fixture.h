#pragma once
// The Configuration via USB window, offscreen, against a simulated converter console behind the
// program's real driver (the console answering in turn): opened and closed around what a test
// does in it, driven through its widgets, with every message box recorded.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/ftdi_linux.h"
#include "platform/time.h"
#include "platform/ui/seams.h"
#include "sim/console/device_tree.h"
#include "sim/console/simulated_console.h"
#include "tests/support/modal.h"
#include "tests/usb/in_turn_driver.h"
#include "tests/usb/usb_fixture.h"
#include "usb/link.h"
#include "usb/usb_window.h"
#include "usb/window_controls.h"

inline constexpr const char* kLoaded = "Configuration loaded";

// What the user sees of the window and what the program holds; nothing given: not checked.
struct Seen {
    std::optional<QString> status;
    std::optional<bool> connect, disconnect, refresh, fields, config, menu;
    std::optional<bool> linkOpen;
    std::optional<std::int32_t> errorState;
    std::optional<QStringList> messages;
};

class UsbWindowTest : public ::testing::Test {
public:
    void SetUp() override {
        platform::SetTimeScale(0.1);
        g_usbLink = UsbLinkState{};
        platform::SetDefaultFtdiDriver(&m_inTurn);
        platform::ui::SetMessageBoxHandler([this](const QString& text, const QString&) {
            std::lock_guard guard(m_lock);
            m_messages << text;
            return platform::ui::kIdOk;
        });
    }
    void TearDown() override {
        UsbClose();
        platform::ui::ResetSeams();
        platform::SetDefaultFtdiDriver(nullptr);
        platform::SetTimeScale(1.0);
    }

    sim::console::SimulatedConsole& Attach(sim::console::ConsoleOptions options = {}) {
        m_console = &m_tree.AddConsole({.ttyNumber = 0}, std::move(options));
        return *m_console;
    }

    // Opens the window, lets `whileOpen` act in it, checks what it left, and closes it.
    void InWindow(const std::function<void()>& whileOpen, const Seen& expected = {}) {
        const int result = testsupport::RunModal(m_window, [&] {
            whileOpen();
            Expect(expected);
            // As Close window would, also when a failure above left its button hidden.
            m_window.ExecuteCommand(kIdCloseWindow);
        }, 60000);
        EXPECT_EQ(result, platform::ui::kIdCancel);
    }

    void Type(int id, const char* text) const {
        qobject_cast<QLineEdit*>(m_window.GetDlgItem(id))->setText(QString::fromUtf8(text));
    }
    void Click(int id) const {
        auto* button = qobject_cast<QPushButton*>(m_window.GetDlgItem(id));
        ASSERT_NE(button, nullptr) << id;
        ASSERT_TRUE(button->isEnabled() && button->isVisible()) << "button " << id << " cannot be pressed";
        button->click();
    }
    void Connect(const char* login = "root", const char* password = "tq7") const {
        Type(kIdLogin, login);
        Type(kIdPassword, password);
        Click(kIdConnect);
    }
    bool Enabled(int id) const { return m_window.GetDlgItem(id)->isEnabled(); }

    void Expect(const Seen& expected) {
        if (expected.status) {
            EXPECT_EQ(m_window.GetDlgItem(kIdStatus)->property("text").toString(), *expected.status);
        }
        const auto check = [this](const std::optional<bool>& want, std::initializer_list<int> ids, const char* what) {
            if (!want) return;
            for (const int id : ids) EXPECT_EQ(Enabled(id), *want) << what << " (control " << id << ")";
        };
        check(expected.connect, {kIdConnect}, "Connect");
        check(expected.disconnect, {kIdDisconnect}, "Disconnect");
        check(expected.refresh, {kIdRefresh}, "Refresh list");
        check(expected.fields, {kIdDevice, kIdBaudRate, kIdLineMode, kIdLogin, kIdPassword}, "connection field");
        check(expected.config,
              {kIdProfile, kIdDeviceInfo, kIdSaveConfig, kIdLoadConfig, kIdIpAddress, kIdSubmask, kIdGateway, kIdDhcp,
               kIdSpeed, kIdRestart},
              "configuration control");
        if (expected.menu) {
            EXPECT_EQ(g_fileMenu.IsMenuItemEnabled(kIdSaveToFile), *expected.menu) << "Save to file";
            EXPECT_EQ(g_fileMenu.IsMenuItemEnabled(kIdLoadFromFile), *expected.menu) << "Load from file";
        }
        if (expected.linkOpen) {
            EXPECT_EQ(UsbIsOpen(), *expected.linkOpen) << "link open";
        }
        if (expected.errorState) {
            EXPECT_EQ(g_usbLink.errorState, *expected.errorState) << "errorState";
        }
        if (expected.messages) {
            EXPECT_EQ(Messages(), *expected.messages);
        }
        for (const int id : {kIdConnect, kIdRestart, kIdDevice, kIdIpAddress})
            EXPECT_TRUE(m_window.GetDlgItem(id)->isVisible()) << "control " << id << " left hidden";
    }

    QStringList Messages() {
        std::lock_guard guard(m_lock);
        return m_messages;
    }
    void ClearMessages() {
        std::lock_guard guard(m_lock);
        m_messages.clear();
    }

    sim::console::FakeDeviceTree m_tree;
    platform::SysfsFtdiDriver m_driver{m_tree.Roots()};
    InTurnDriver m_inTurn{m_driver, m_tree};
    sim::console::SimulatedConsole* m_console = nullptr;
    CWLan m_window;

private:
    std::mutex m_lock;
    QStringList m_messages;
};

// Connected with the settings read: the state most events start from.
inline const Seen kConnected{.status = "Connected", .connect = false, .disconnect = true, .refresh = false,
                             .fields = false, .config = true, .menu = true, .linkOpen = true, .errorState = 0};
// Ready for the next Connect after the session ended.
inline const Seen kLoggedOut{.status = "Disconnected", .connect = true, .disconnect = false, .refresh = true,
                             .fields = true, .config = false, .menu = false, .linkOpen = false};
