#include <gtest/gtest.h>

#include "tests/settings_usb/worker_fixture.h"

namespace {

using LoadWorkerTest = SettingsWorkerTest;

TEST_F(LoadWorkerTest, ReadsTheConvertersSettingsIntoTheWindow) {
    struct Case {
        const char* name;
        sim::console::ConsoleSettings settings;
        int dhcp, speed, profile;
        bool addressFieldsEnabled;
    } const cases[] = {
        {"static, 100, UDP sockets",
         {.ipAddress = "10.20.30.40", .submask = "255.255.0.0", .gateway = "10.20.0.1", .dhcp = false,
          .speed = "100", .profile = "udp_sockets"},
         settings::kDhcpOff, 2, 6, true},
        {"DHCP, 10, PPP",
         {.ipAddress = "192.168.7.9", .submask = "255.255.255.0", .gateway = "192.168.7.1", .dhcp = true,
          .speed = "10", .profile = "ppp"},
         settings::kDhcpOn, 1, 9, false},
    };
    sim::console::SimulatedConsole& console = ConnectConsole();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console.SetSettings(c.settings);
        console.ClearLog();
        g_usbLink.errorState = kNoError;
        EnableAddressFields(!c.addressFieldsEnabled);
        ClearMessages();

        RunWorker(LoadWorker);

        EXPECT_EQ(g_usbLink.errorState, kNoError);
        EXPECT_EQ(g_ipAddress.GetWindowText(), QString::fromStdString(c.settings.ipAddress));
        EXPECT_EQ(g_ipSubmask.GetWindowText(), QString::fromStdString(c.settings.submask));
        EXPECT_EQ(g_ipGateway.GetWindowText(), QString::fromStdString(c.settings.gateway));
        EXPECT_EQ(g_cbDhcp.GetCurSel(), c.dhcp);
        EXPECT_EQ(c.addressFieldsEnabled ? AddressFieldsEnabled() : AddressFieldsDisabled(), true);
        EXPECT_EQ(g_cbSpeed.GetCurSel(), c.speed);
        EXPECT_EQ(g_cbProfile.GetCurSel(), c.profile);
        EXPECT_EQ(Messages(), QStringList{kLoaded});
        const std::vector<std::string> queries{"show network\n", "show ethernet\n", "show profile\n"};
        EXPECT_EQ(LinesReceived(), queries);
        EXPECT_EQ(LastLogEntries(2), (QStringList{"Load wlan ok", "Load serial ok"}));
        for (const platform::ui::CWnd* field : ConnectionFields()) EXPECT_FALSE(field->IsWindowEnabled());
        EXPECT_TRUE(UsbIsOpen());
    }
}

// A profile the list does not know leaves the selection alone, and the read still ends well.
TEST_F(LoadWorkerTest, SaysLoadedEvenWhenNoProfileMatches) {
    ConnectConsole({}, {.replies = {{"show profile", "show profile\r\n1     nothing_known\r\n#>"}}});
    g_cbProfile.SetCurSel(3);
    RunWorker(LoadWorker);
    EXPECT_EQ(g_cbProfile.GetCurSel(), 3);
    EXPECT_EQ(Messages(), QStringList{kLoaded});
}

TEST_F(LoadWorkerTest, ALostLinkInTheFirstQuerySkipsTheOthersAndDisconnects) {
    ConnectConsole();
    g_ipAddress.SetWindowText("1.2.3.4");
    PresetWindow({.status = "Disconnected", .connect = true, .disconnect = false, .refresh = true, .fields = true});
    m_scripted.ClearWrites();
    m_scripted.FailReadsFrom(0);

    RunWorker(LoadWorker);

    EXPECT_EQ(g_usbLink.errorState, kLinkFailed);
    EXPECT_EQ(Messages(), QStringList{kConnectionError});
    std::string sent;
    for (const std::string& write : m_scripted.Writes()) sent += write;
    EXPECT_EQ(sent, "show network\n") << "only the first query may be sent";
    EXPECT_EQ(LinesReceived(), std::vector<std::string>{"show network\n"});
    EXPECT_EQ(g_ipAddress.GetWindowText(), "1.2.3.4");
    EXPECT_EQ(LastLogEntries(2), (QStringList{"Load wlan ok", "Load serial ok"}));
    ExpectWindow({.status = "Disconnected", .connect = true, .disconnect = false, .refresh = true, .fields = true});
    EXPECT_FALSE(UsbIsOpen());
}

}  // namespace
