#include <gtest/gtest.h>

#include "tests/usb_console/console_fixture.h"

namespace {

using sim::console::ConsoleFaults;
using sim::console::ConsoleState;

const std::string kExit("exit\0\r", 6);

// The Disconnect button's logout, on the user-interface thread.
struct LogoutCase {
    std::string name;
    ConsoleFaults faults;
    bool linkFailedBefore = false;  // the last driver call had failed
    bool exitFails = false;         // the driver fails every "exit" write
    LogoutResult result;
    std::vector<std::string> lines;
    QStringList messages;
    bool linkOpen;
    WindowState window;
};

void PrintTo(const LogoutCase& c, std::ostream* os) { *os << c.name; }

const WindowState kLoggedOut{.status = "Disconnected", .connect = true, .disconnect = false, .refresh = true,
                             .fields = true, .config = false, .menu = false};

const LogoutCase kLogouts[] = {
    {.name = "LogsOutAndCloses", .result = LogoutResult::kLoggedOut, .lines = {kExit}, .linkOpen = false,
     .window = kLoggedOut},
    {.name = "EveryReplyALoginPromptLeavesItConnected",
     .faults = {.replies = {{"exit", "login: "}}},
     .result = LogoutResult::kUndecided, .lines = Repeated(6, {kExit}), .linkOpen = true, .window = {}},
    {.name = "AfterAFailedDriverCallNothingIsSent",
     .linkFailedBefore = true, .result = LogoutResult::kUndecided, .linkOpen = true, .window = {}},
    {.name = "ADriverFailureDisconnectsAndReports",
     .exitFails = true, .result = LogoutResult::kFailed, .messages = {kConnectionError}, .linkOpen = false,
     .window = kLoggedOut},
};

class LogoutTest : public ConsoleTest, public ::testing::WithParamInterface<LogoutCase> {};

TEST_P(LogoutTest, LeavesTheLinkAndTheWindow) {
    const LogoutCase& c = GetParam();
    StartConsole({.startLoggedIn = true}, c.faults);
    OpenLoggedInLink();
    g_lbLog.AddString("from before");
    if (c.linkFailedBefore) g_usbLink.lastStatus = platform::FtdiStatus::kIoError;
    if (c.exitFails) m_scripted.FailWritesOf([](std::string_view bytes) { return bytes == kExit; });
    PresetWindow(c.window);

    EXPECT_EQ(ConsoleLogout(LogoutCaller::kDisconnect), c.result);

    EXPECT_EQ(LinesReceived(), c.lines);
    EXPECT_FALSE(LogEntries().contains("from before"));
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(UsbIsOpen(), c.linkOpen);
    ExpectWindow(c.window);
}

INSTANTIATE_TEST_SUITE_P(Console, LogoutTest, ::testing::ValuesIn(kLogouts),
                         [](const auto& row) { return row.param.name; });

struct RestartCase {
    std::string name;
    ConsoleFaults faults;
    bool lineFeedFails = false;
    std::int32_t errorState;
};

void PrintTo(const RestartCase& c, std::ostream* os) { *os << c.name; }

const RestartCase kRestarts[] = {
    {.name = "Accepted", .errorState = 0},
    {.name = "ErrorInTheReplyIsAFailure", .faults = {.failingCommands = {"boot action=r"}}, .errorState = 1},
    {.name = "LowerCaseErrorIsNot",
     .faults = {.replies = {{"boot action=r", "boot action=r\r\nerror: later\r\n"}}}, .errorState = 0},
    {.name = "AFailedLastWriteIsAFailure", .lineFeedFails = true, .errorState = 1},
};

class RestartTest : public ConsoleTest, public ::testing::WithParamInterface<RestartCase> {};

TEST_P(RestartTest, SendsTheBootCommandByteByByte) {
    const RestartCase& c = GetParam();
    StartConsole({.startLoggedIn = true, .bootSilence = kEndlessBoot}, c.faults);
    OpenLoggedInLink();
    if (c.lineFeedFails) m_scripted.FailWritesOf([](std::string_view bytes) { return bytes == "\n"; });
    g_usbLink.errorState = c.errorState == 0 ? kLinkFailed : kNoError;

    EXPECT_EQ(ConsoleRestart(), c.errorState);
    EXPECT_EQ(g_usbLink.errorState, c.errorState);

    std::vector<std::string> bytes;
    for (const char byte : std::string_view("boot action=r\n")) bytes.emplace_back(1, byte);
    if (c.lineFeedFails) bytes.pop_back();
    EXPECT_EQ(m_scripted.Writes(), bytes);  // no logout first, one byte a write
    EXPECT_TRUE(Messages().isEmpty());      // the window reports it
}

INSTANTIATE_TEST_SUITE_P(Console, RestartTest, ::testing::ValuesIn(kRestarts),
                         [](const auto& row) { return row.param.name; });

TEST_F(ConsoleTest, ARestartAcceptedReachesTheConsole) {
    StartConsole({.startLoggedIn = true, .bootSilence = kEndlessBoot});
    OpenLoggedInLink();
    EXPECT_EQ(ConsoleRestart(), kNoError);
    EXPECT_EQ(m_console->State(), ConsoleState::kBooting);
    EXPECT_EQ(LogEntries(), QStringList({"boot action=r\r\n\r\nRebooting...\r\n"}));
}

// A set command's answer as the converter gives it, after an echo of at least twenty bytes.
struct SetCase {
    std::string name;
    std::string reply;  // empty: the simulated console's own answer
    std::int32_t errorState;
    QStringList messages;
};

void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

const std::string kSetCommand = "set network ip=10.0.0.7";
const std::string kEcho = kSetCommand + "\r\n";

const SetCase kSets[] = {
    {.name = "Accepted", .errorState = 0},
    {.name = "TheRefusalShowsTheErrorLineAndTheNext",
     .reply = kEcho + "error: busy\r\nSettings not changed.\r\n\r\n#> ",
     .errorState = 2, .messages = {"error: busy\r\nSettings not changed."}},
    {.name = "ErrorInTheFirstTwentyBytesIsNotLookedAt",
     .reply = "an error echoed back:\r\n\r\n#> ", .errorState = 0},
    {.name = "ErrorPastTheExaminedBytesIsNotLookedAt",
     .reply = kEcho + std::string(170, '.') + "error: late\r\n", .errorState = 0},
    {.name = "ARefusalWithoutAFollowingLineRunsToTheEnd",
     .reply = kEcho + "error: last line\r\n", .errorState = 2, .messages = {"error: last line\r\n"}},
    {.name = "ARefusalWithoutALineFeedRunsToTheEnd",
     .reply = kEcho + "error: cut short", .errorState = 2, .messages = {"error: cut short"}},
};

class SetTest : public ConsoleTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SetTest, ReadsTheConvertersAnswer) {
    const SetCase& c = GetParam();
    ConsoleFaults faults;
    if (!c.reply.empty()) faults.replies[kSetCommand] = c.reply;
    StartConsole({.startLoggedIn = true}, faults);
    OpenLoggedInLink();
    g_usbLink.errorState = c.errorState == 0 ? kLinkFailed : kNoError;

    EXPECT_EQ(ConsoleSendSet(kSetCommand + "\n"), c.errorState);
    EXPECT_EQ(g_usbLink.errorState, c.errorState);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(m_scripted.Writes().size(), kSetCommand.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(Console, SetTest, ::testing::ValuesIn(kSets),
                         [](const auto& row) { return row.param.name; });

TEST_F(ConsoleTest, SetAndShowCommandsFailOnTheDriver) {
    StartConsole({.startLoggedIn = true});
    OpenLoggedInLink();
    m_scripted.FailWritesOf([](std::string_view bytes) { return bytes == "\n"; });
    EXPECT_EQ(ConsoleSendSet("set ethernet speed=auto\n"), kLinkFailed);
    g_usbLink.errorState = kNoError;
    EXPECT_FALSE(ConsoleShow("show network"));
    EXPECT_EQ(g_usbLink.errorState, kLinkFailed);

    m_scripted.FailWritesOf({});
    m_scripted.FailReadsFrom(0);
    g_usbLink.errorState = kNoError;
    EXPECT_EQ(ConsoleSendSet("set ethernet speed=auto\n"), kLinkFailed);
    EXPECT_TRUE(Messages().isEmpty());  // the apply worker reports it
}

TEST_F(ConsoleTest, AShowCommandLeavesTheReplyInTheReceiveBuffer) {
    StartConsole({.startLoggedIn = true});
    OpenLoggedInLink();
    ASSERT_TRUE(ConsoleShow("show network"));
    EXPECT_TRUE(UsbReplyText().starts_with("show network\r\n"));
    EXPECT_NE(UsbReplyText().find("ipaddress : 192.168.1.50"), std::string_view::npos);
    EXPECT_EQ(m_scripted.Writes().size(), std::string_view("show network\n").size());
    EXPECT_EQ(LinesReceived(), std::vector<std::string>{"show network\n"});
}

}  // namespace
