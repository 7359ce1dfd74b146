#include <gtest/gtest.h>

#include "tests/settings_usb/worker_fixture.h"

namespace {

class ApplyWorkerTest : public SettingsWorkerTest {
protected:
    void SelectSettings(int dhcp, int speed, int profile) {
        g_ipAddress.SetWindowText("10.9.8.7");
        g_ipSubmask.SetWindowText("255.255.0.0");
        g_ipGateway.SetWindowText("10.9.0.1");
        g_cbDhcp.SetCurSel(dhcp);
        g_cbSpeed.SetCurSel(speed);
        g_cbProfile.SetCurSel(profile);
    }
};

TEST_F(ApplyWorkerTest, SendsTheAddressLinesOnlyForAStaticAddress) {
    struct Case {
        const char* name;
        int dhcp;
        std::vector<std::string> lines;
        sim::console::ConsoleSettings after;
    } const cases[] = {
        {"DHCP on",
         settings::kDhcpOn,
         {"set network static=off\n", "set network dhcp=on\n", "set ethernet speed=10\n", "set profile profile=ppp\n"},
         {.dhcp = true, .speed = "10", .profile = "ppp"}},
        {"DHCP off",
         settings::kDhcpOff,
         {"set network ip=10.9.8.7\n", "set network submask=255.255.0.0\n", "set network gateway=10.9.0.1\n",
          "set network static=on\n", "set network dhcp=off\n", "set ethernet speed=10\n", "set profile profile=ppp\n"},
         {.ipAddress = "10.9.8.7", .submask = "255.255.0.0", .gateway = "10.9.0.1", .dhcp = false, .speed = "10",
          .profile = "ppp"}},
    };
    sim::console::SimulatedConsole& console = ConnectConsole();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console.SetSettings({.dhcp = c.dhcp == settings::kDhcpOff});  // the other way round
        console.ClearLog();
        ClearMessages();
        SelectSettings(c.dhcp, 1, 9);
        EnableConnectionFields(false);

        RunWorker(ApplyWorker);

        EXPECT_EQ(g_usbLink.errorState, kNoError);
        EXPECT_EQ(LinesReceived(), c.lines);
        EXPECT_EQ(console.Settings(), c.after);
        EXPECT_EQ(Messages(), QStringList{kSaved});
        for (const platform::ui::CWnd* field : ConnectionFields()) EXPECT_TRUE(field->IsWindowEnabled());
        EXPECT_TRUE(UsbIsOpen());
    }
}

// A blank address field is sent as blank, a lone quote, and the converter decides; never as the
// zeros a blank field once stood for.
TEST_F(ApplyWorkerTest, SendsABlankAddressFieldAsALoneQuote) {
    ConnectConsole({}, {.replies = {{"set network ip=\"", "ok\r\n#>"},
                                    {"set network submask=\"", "ok\r\n#>"},
                                    {"set network gateway=\"", "ok\r\n#>"}}});
    SelectSettings(settings::kDhcpOff, 0, 4);
    for (platform::ui::CIPAddressCtrl* field : {&g_ipAddress, &g_ipSubmask, &g_ipGateway})
        field->SetWindowText("");
    RunWorker(ApplyWorker);
    const std::vector<std::string> lines{"set network ip=\"\n",
                                         "set network submask=\"\n",
                                         "set network gateway=\"\n",
                                         "set network static=on\n",
                                         "set network dhcp=off\n",
                                         "set ethernet speed=auto\n",
                                         "set profile profile=tcp_sockets\n"};
    EXPECT_EQ(LinesReceived(), lines);
    EXPECT_EQ(Messages(), QStringList{kSaved});
}

TEST_F(ApplyWorkerTest, ARefusalStopsTheRunAndLeavesLaterReadsAndWritesWorking) {
    sim::console::SimulatedConsole& console =
        ConnectConsole({}, {.refusedSettings = {{"static", "static addressing is locked"}}});
    SelectSettings(settings::kDhcpOn, 2, 4);

    RunWorker(ApplyWorker);

    EXPECT_EQ(g_usbLink.errorState, kSetRefused);
    EXPECT_EQ(LinesReceived(), std::vector<std::string>{"set network static=off\n"});
    // Shown once, in the converter's words, and no word of success.
    EXPECT_EQ(Messages(), QStringList{"error: static addressing is locked\r\nSettings not changed."});
    EXPECT_TRUE(UsbIsOpen());

    // The refusal was about one command; the next read and the next write go ahead.
    console.SetFaults({});
    console.ClearLog();
    ClearMessages();
    RunWorker(LoadWorker);
    EXPECT_EQ(g_usbLink.errorState, kNoError);
    EXPECT_EQ(LinesReceived(), (std::vector<std::string>{"show network\n", "show ethernet\n", "show profile\n"}));
    EXPECT_EQ(Messages(), QStringList{kLoaded});

    console.ClearLog();
    ClearMessages();
    g_usbLink.errorState = kSetRefused;
    SelectSettings(settings::kDhcpOn, 2, 3);
    RunWorker(ApplyWorker);
    const std::vector<std::string> lines{"set network static=off\n", "set network dhcp=on\n",
                                         "set ethernet speed=100\n", "set profile profile=realport\n"};
    EXPECT_EQ(LinesReceived(), lines);
    EXPECT_EQ(console.Settings().profile, "realport");
    EXPECT_EQ(Messages(), QStringList{kSaved});
}

TEST_F(ApplyWorkerTest, ALostLinkStopsTheRunAndDisconnects) {
    ConnectConsole();
    SelectSettings(settings::kDhcpOff, 0, 0);
    PresetWindow({.status = "Disconnected", .connect = true, .disconnect = false, .refresh = true, .fields = true});
    m_scripted.ClearWrites();
    m_scripted.FailWritesOf([](std::string_view bytes) { return bytes == "\n"; });

    RunWorker(ApplyWorker);

    EXPECT_EQ(g_usbLink.errorState, kLinkFailed);
    std::string sent;
    for (const std::string& write : m_scripted.Writes()) sent += write;
    EXPECT_EQ(sent, "set network ip=10.9.8.7") << "nothing after the first failed command";
    EXPECT_EQ(Messages(), QStringList{kConnectionError});
    ExpectWindow({.status = "Disconnected", .connect = true, .disconnect = false, .refresh = true, .fields = true});
    EXPECT_FALSE(UsbIsOpen());
}

}  // namespace
