#pragma once
// A simulated converter, logged in over the real pseudo-terminal, with the window's setting
// lists filled as the window fills them, and a worker run behind the progress panel.

#include <QTimer>
#include <algorithm>
#include <thread>

#include "usb/settings_workers.h"
#include "settings/value_tables.h"
#include "tests/usb_console/console_fixture.h"

class SettingsWorkerTest : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        g_cbBaudRate.ResetContent();
        g_cbLineMode.ResetContent();
        FillSettingLists();
    }

    sim::console::SimulatedConsole& ConnectConsole(const sim::console::ConsoleSettings& settings = {},
                                                   const sim::console::ConsoleFaults& faults = {}) {
        sim::console::SimulatedConsole& console = StartConsole({.settings = settings, .startLoggedIn = true}, faults);
        OpenLoggedInLink();
        console.ClearLog();
        return console;
    }

    QStringList LastLogEntries(int count) const {
        const QStringList entries = LogEntries();
        return entries.mid(std::max<qsizetype>(0, entries.size() - count));
    }

    static bool AddressFieldsEnabled() {
        return g_ipAddress.IsWindowEnabled() && g_ipSubmask.IsWindowEnabled() && g_ipGateway.IsWindowEnabled();
    }
    static bool AddressFieldsDisabled() {
        return !g_ipAddress.IsWindowEnabled() && !g_ipSubmask.IsWindowEnabled() && !g_ipGateway.IsWindowEnabled();
    }

    static inline const QString kLoaded = QStringLiteral("Configuration loaded");
    static inline const QString kSaved =
        QStringLiteral("Configuration saved. Please restart the device to set configuration.");
};
