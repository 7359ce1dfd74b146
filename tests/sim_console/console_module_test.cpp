#include "sim/console/console_module.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/value_tables.h"
#include "tests/sim_console/reading_rules.h"

namespace {

using namespace std::chrono_literals;
using sim::console::ConsoleFaults;
using sim::console::ConsoleModule;
using sim::console::ConsoleOptions;
using sim::console::ConsoleSettings;
using sim::console::ConsoleState;
using Clock = platform::Clock;

class ConsoleModuleTest : public ::testing::Test {
protected:
    explicit ConsoleModuleTest(ConsoleOptions options = {}) : m_console(std::move(options), m_now) {}

    std::string Send(std::string_view bytes) { return m_console.Receive(bytes, m_now); }
    // A command as the program sends it: text and LF.
    std::string Command(const std::string& text) { return Send(text + "\n"); }
    void LogIn() {
        Send(std::string("root\0\r", 6));
        ASSERT_EQ(Send("tq7\r"), "\r\n\r\n#> ");
        ASSERT_EQ(m_console.State(), ConsoleState::kLoggedIn);
    }
    std::string Later(std::chrono::milliseconds wait) {
        m_now += wait;
        return m_console.Advance(m_now);
    }

    Clock::time_point m_now = Clock::now();
    ConsoleModule m_console;
};

TEST_F(ConsoleModuleTest, LoginPromptsForAPasswordAndRefusesWrongPairs) {
    // The program's wake-up line, an empty user name, gets "Login incorrect" at the login prompt.
    EXPECT_EQ(Send(std::string("\0\r", 2)), "\r\nLogin incorrect\r\n\r\nlogin: ");
    struct Case {
        std::string user;
        std::string password;
    };
    for (const Case& wrong :
         {Case{"root", "TQ7"}, Case{"Root", "tq7"}, Case{"nobody", "tq7"}, Case{"root", ""}}) {
        EXPECT_EQ(Send(wrong.user + '\0' + '\r'), wrong.user + "\r\npassword: ");
        EXPECT_EQ(m_console.State(), ConsoleState::kPasswordPrompt);
        EXPECT_EQ(Send(wrong.password + '\r'), "\r\nLogin incorrect\r\n\r\nlogin: ") << wrong.user;
        EXPECT_EQ(m_console.State(), ConsoleState::kLoginPrompt);
    }
    LogIn();
    EXPECT_EQ(m_console.User(), "root");
    // Logged in, the wake-up line shows the prompt.
    EXPECT_EQ(Send(std::string("\0\r", 2)), "\r\n#> ");
}

TEST_F(ConsoleModuleTest, LinesAreRecordedWithTheirEndingsAndNulBytes) {
    Send(std::string("\0\r", 2));
    Send("root");
    Send(std::string("\0\r", 2));  // a line may arrive in pieces
    Send("tq7\r\n");
    Send("show network\n");
    const std::vector<std::string> expected = {std::string("\0\r", 2), std::string("root\0\r", 6), "tq7\r\n",
                                               "show network\n"};
    EXPECT_EQ(m_console.Lines(), expected);
    EXPECT_EQ(m_console.Bytes(), expected[0] + expected[1] + expected[2] + expected[3]);
    EXPECT_EQ(m_console.State(), ConsoleState::kLoggedIn);  // CR LF ended one line, not two
    m_console.ClearLog();
    EXPECT_TRUE(m_console.Lines().empty());
}

TEST_F(ConsoleModuleTest, ReportsEchoTheCommandAndEndWithThePrompt) {
    LogIn();
    for (const char* command : {"display device", "show ethernet", "show network", "display uptime",
                                "show permissions", "show profile"}) {
        SCOPED_TRACE(command);
        const std::string reply = Command(command);
        EXPECT_EQ(reply.rfind(std::string(command) + "\r\n", 0), 0u);
        EXPECT_EQ(reply.substr(reply.size() - 3), "#> ");
        EXPECT_EQ(reply.find("Error"), std::string::npos);
        EXPECT_GT(reply.size(), std::string(command).size() + 10);
    }
    EXPECT_NE(Command("display device").find("TQ7 Converter"), std::string::npos);
    EXPECT_NE(Command("show permissions").find("root"), std::string::npos);
    EXPECT_NE(Command("show nothing").find("Error: unknown command"), std::string::npos);
}

TEST_F(ConsoleModuleTest, ShowRepliesYieldTheSettingsUnderTheReadingRules) {
    LogIn();
    struct Case {
        ConsoleSettings settings;
        const char* dhcp;
        const char* speed;
    };
    const Case cases[] = {
        {{"10.1.2.3", "255.0.0.0", "10.0.0.1", false, "auto", "tcp_sockets"}, "off", "auto)"},
        {{"192.168.100.200", "255.255.255.128", "192.168.100.129", true, "10", "ppp"}, "on", "10)"},
        {{"172.16.0.9", "255.255.0.0", "172.16.0.1", false, "100", "ia"}, "off", "100)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings.ipAddress);
        m_console.SetSettings(c.settings);
        // The program parses its own command text followed by the reply.
        const std::string network = "show network" + Command("show network");
        EXPECT_EQ(reading_rules::ColonValue(network, "ipaddress"), c.settings.ipAddress);
        EXPECT_EQ(reading_rules::ColonValue(network, "submask"), c.settings.submask);
        EXPECT_EQ(reading_rules::ColonValue(network, "gateway"), c.settings.gateway);
        EXPECT_EQ(reading_rules::ColonValue(network, "dhcp"), c.dhcp);
        EXPECT_EQ(reading_rules::SpeedValue("show ethernet" + Command("show ethernet")), c.speed);
    }
}

TEST_F(ConsoleModuleTest, EveryProfileSetIsShownUnderTheKeywordTheProgramReads) {
    LogIn();
    for (const auto& profile : settings::kSerialProfiles) {
        SCOPED_TRACE(profile.text);
        const std::string reply = Command("set profile profile=" + std::string(profile.sentKeyword));
        EXPECT_FALSE(reading_rules::JudgeSetReply(reply).refused) << reply;
        EXPECT_EQ(m_console.Settings().profile, profile.sentKeyword);
        EXPECT_EQ(reading_rules::ProfileValue("show profile" + Command("show profile")), profile.readKeyword);
    }
    // The name "show profile" uses is not one "set" takes.
    EXPECT_TRUE(reading_rules::JudgeSetReply(Command("set profile profile=udp_socket")).refused);
}

TEST_F(ConsoleModuleTest, TheSevenSetLinesChangeTheSettings) {
    LogIn();
    const char* lines[] = {"set network ip=10.9.8.7",
                           "set network submask=255.255.0.0",
                           "set network gateway=10.9.0.1",
                           "set network static=on",
                           "set network dhcp=off",
                           "set ethernet speed=100",
                           "set profile profile=local_config"};
    for (const char* line : lines) {
        const std::string reply = Command(line);
        EXPECT_EQ(reply, std::string(line) + "\r\n\r\n#> ");
        EXPECT_FALSE(reading_rules::JudgeSetReply(reply).refused) << line;
    }
    EXPECT_EQ(m_console.Settings(),
              (ConsoleSettings{"10.9.8.7", "255.255.0.0", "10.9.0.1", false, "100", "local_config"}));

    // DHCP on, as the program sends it: static off, then dhcp on.
    Command("set network static=off");
    EXPECT_TRUE(m_console.Settings().dhcp);
    Command("set network dhcp=off");
    EXPECT_FALSE(m_console.Settings().dhcp);
    Command("set network dhcp=on");
    EXPECT_TRUE(m_console.Settings().dhcp);
}

TEST_F(ConsoleModuleTest, BadValuesAreRefusedWithATwoLineErrorTheProgramSees) {
    LogIn();
    const ConsoleSettings before = m_console.Settings();
    // Empty values reach the console as a lone double quote, the profile's as nothing.
    const char* refused[] = {"set network ip=\"",
                             "set network ip=1.2.3",
                             "set network submask=\"",
                             "set network gateway=abc",
                             "set network static=\"",
                             "set network dhcp=yes",
                             "set ethernet speed=\"",
                             "set ethernet speed=1000",
                             "set profile profile=",
                             "set profile profile=PPP",
                             "set wlan ssid=xyz",
                             "set network mtu=1500",
                             "set network ip=10.0.0.1 dhcp=maybe"};
    for (const char* line : refused) {
        SCOPED_TRACE(line);
        const std::string reply = Command(line);
        const reading_rules::SetOutcome outcome = reading_rules::JudgeSetReply(reply);
        EXPECT_TRUE(outcome.refused) << reply;
        EXPECT_EQ(outcome.message.rfind("error: ", 0), 0u);
        EXPECT_NE(outcome.message.find("\r\nSettings not changed."), std::string::npos) << outcome.message;
        EXPECT_EQ(m_console.Settings(), before);
    }
    // The shortest line the program sends puts "error" exactly where the program starts looking.
    EXPECT_EQ(Command("set network ip=\"").find("error"), 20u);
    // Shorter lines are refused too, though the program would not see it; it never sends them.
    for (const char* line : {"set network ip", "set x y"}) {
        EXPECT_NE(Command(line).find("\r\nerror: "), std::string::npos) << line;
        EXPECT_EQ(m_console.Settings(), before);
    }
}

TEST_F(ConsoleModuleTest, ExitLogsOutAndBootGoesSilentBeforeItsLoginPrompt) {
    LogIn();
    const std::string bye = Send(std::string("exit\0\r", 6));
    EXPECT_EQ(bye, "exit\r\n\r\nlogin: ");
    EXPECT_NE(bye.rfind("login", 0), 0u);  // the program takes a reply starting "login" as no logout
    EXPECT_EQ(m_console.State(), ConsoleState::kLoginPrompt);
    EXPECT_EQ(m_console.User(), "");

    LogIn();
    const std::string boot = Command("boot action=r");
    EXPECT_EQ(boot.rfind("boot action=r\r\n", 0), 0u);
    EXPECT_EQ(boot.substr(0, 170).find("Error"), std::string::npos);
    EXPECT_EQ(m_console.State(), ConsoleState::kBooting);
    EXPECT_EQ(Send(std::string("\0\r", 2)), "");  // deaf while it boots
    EXPECT_EQ(Later(2999ms), "");
    EXPECT_EQ(m_console.State(), ConsoleState::kBooting);
    EXPECT_NE(Later(1ms).find("login: "), std::string::npos);
    EXPECT_EQ(m_console.State(), ConsoleState::kLoginPrompt);
    EXPECT_EQ(m_console.Lines().size(), 7u);  // what it did not hear is still recorded
}

TEST_F(ConsoleModuleTest, FaultsSilenceGarbleFailRefuseAndOverride) {
    LogIn();
    m_console.SetFaults({.silent = true});
    EXPECT_EQ(Command("set ethernet speed=10"), "");
    EXPECT_EQ(m_console.Settings().speed, "auto");

    m_console.SetFaults({.garbage = true});
    const std::string noise = Command("show network");
    EXPECT_GT(noise.size(), 50u);
    for (char c : noise) EXPECT_GE(static_cast<unsigned char>(c), 0x80);

    m_console.SetFaults({.failingCommands = {"boot action=r", "display device"}});
    EXPECT_NE(Command("display device").find("Error"), std::string::npos);
    EXPECT_NE(Command("boot action=r").substr(0, 170).find("Error"), std::string::npos);
    EXPECT_EQ(m_console.State(), ConsoleState::kLoggedIn);  // no reboot

    m_console.SetFaults({.refusedSettings = {{"static", "static addressing is locked"}}});
    const auto outcome = reading_rules::JudgeSetReply(Command("set network static=off"));
    EXPECT_EQ(outcome.message, "error: static addressing is locked\r\nSettings not changed.");
    EXPECT_FALSE(m_console.Settings().dhcp);
    EXPECT_FALSE(reading_rules::JudgeSetReply(Command("set ethernet speed=10")).refused);

    m_console.SetFaults({.replies = {{"exit", "login: "}, {"show network", "abc"}}});
    EXPECT_EQ(Send(std::string("exit\0\r", 6)), "login: ");
    EXPECT_EQ(m_console.State(), ConsoleState::kLoggedIn);  // answered, not carried out
    EXPECT_EQ(Command("show network"), "abc");
}

class StartedLoggedInTest : public ConsoleModuleTest {
protected:
    StartedLoggedInTest() : ConsoleModuleTest(ConsoleOptions{.startLoggedIn = true}) {}
};

TEST_F(StartedLoggedInTest, AConsoleLeftLoggedInAnswersTheWakeUpWithThePrompt) {
    EXPECT_EQ(Send(std::string("\0\r", 2)), "\r\n#> ");
    EXPECT_EQ(m_console.User(), "root");
}

class FailedLoginPauseTest : public ConsoleModuleTest {
protected:
    FailedLoginPauseTest() : ConsoleModuleTest(ConsoleOptions{.failedLoginDelay = 2000ms}) {}
};

TEST_F(FailedLoginPauseTest, ARefusedPasswordIsAnsweredAfterThePauseAndLinesMeanwhileAreLost) {
    Send(std::string("root\0\r", 6));
    EXPECT_EQ(Send("wrong\r"), "\r\n");
    EXPECT_EQ(m_console.State(), ConsoleState::kLoginDelay);
    EXPECT_EQ(Send(std::string("root\0\r", 6)), "");
    EXPECT_EQ(Later(1999ms), "");
    EXPECT_EQ(Later(1ms), "Login incorrect\r\n\r\nlogin: ");
    LogIn();
}

class QuietLoginFailureTest : public ConsoleModuleTest {
protected:
    QuietLoginFailureTest() : ConsoleModuleTest(ConsoleOptions{.quietLoginFailure = true}) {}
};

TEST_F(QuietLoginFailureTest, ARefusedPasswordGetsNoAnswerAndTheLoginPromptIsBack) {
    Send(std::string("root\0\r", 6));
    EXPECT_EQ(Send("wrong\r"), "");
    EXPECT_EQ(m_console.State(), ConsoleState::kLoginPrompt);
    LogIn();
}

}  // namespace
