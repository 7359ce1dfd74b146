#include <gtest/gtest.h>

#include "tests/usb_console/console_fixture.h"

namespace {

using sim::console::ConsoleFaults;
using sim::console::ConsoleOptions;
using sim::console::ConsoleState;

const QString kConnected = "Connected";
const QString kDisconnected = "Disconnected";
const QString kWrongLogin = "Wrong login or password";
const QString kFillBoth = "The user name and password need to be filled";

const std::vector<std::string> kLogin = {std::string("root\0\r", 6), "tq7\r"};
const std::vector<std::string> kWrongPassword = {std::string("root\0\r", 6), "nope\r"};
const std::string kExit("exit\0\r", 6);

const WindowState kLoggedIn{.status = kConnected, .connect = false, .disconnect = true, .refresh = false,
                            .fields = false, .config = true, .menu = true};
// Back to where Connect can be pressed again; what the login would have switched on stays.
const WindowState kRefused{.status = kDisconnected, .connect = true, .disconnect = false, .refresh = true,
                           .fields = true};
const WindowState kProbeFailed{.connect = true, .disconnect = false, .refresh = true, .fields = true};
const WindowState kLoggedOutAndLost{.status = kDisconnected, .connect = true, .disconnect = false, .refresh = true,
                                    .fields = true, .config = false, .menu = false};

struct ConnectCase {
    std::string name;
    ConsoleOptions options;
    ConsoleFaults faults;
    QString login = "root";
    QString password = "tq7";
    std::string failingWrite;  // these exact bytes never reach the line
    int firstFailingRead = -1;

    std::vector<std::string> lines;  // what the console receives
    QStringList messages;
    std::int32_t errorState;
    bool linkOpen;
    WindowState window;
    std::string consoleUser;  // who the console has logged in at the end
};

void PrintTo(const ConnectCase& c, std::ostream* os) { *os << c.name; }

const ConnectCase kCases[] = {
    {.name = "RightPasswordConnects",
     .lines = Joined({{kWakeUp}, kLogin}),
     .messages = {kConnected}, .errorState = 0, .linkOpen = true, .window = kLoggedIn, .consoleUser = "root"},
    {.name = "ALoggedInConsoleIsLoggedOutAndLoggedInAgain",
     .options = {.startLoggedIn = true},
     .lines = Joined({{kWakeUp, kExit}, kLogin}),
     .messages = {kConnected}, .errorState = 0, .linkOpen = true, .window = kLoggedIn, .consoleUser = "root"},
    {.name = "LoginIncorrectBesideThePromptMeansTheLoginPrompt",
     .faults = {.replies = {{"", "Login incorrect\r\n#> "}}},
     .lines = Joined({{kWakeUp}, kLogin}),
     .messages = {kConnected}, .errorState = 0, .linkOpen = true, .window = kLoggedIn, .consoleUser = "root"},
    {.name = "ALogoutAnsweredWithTheLoginPromptStillLogsIn",
     .options = {.startLoggedIn = true},
     .faults = {.replies = {{"exit", "login: "}}},
     .lines = Joined({{kWakeUp}, Repeated(6, {kExit}), kLogin}),
     .messages = {kConnected}, .errorState = 0, .linkOpen = true, .window = kLoggedIn, .consoleUser = "root"},
    {.name = "AFiveBytePasswordReplyIsALogin",
     .faults = {.replies = {{"tq7", "\r\n#> "}}},
     .lines = Joined({{kWakeUp}, kLogin}),
     .messages = {kConnected}, .errorState = 0, .linkOpen = true, .window = kLoggedIn},

    {.name = "WrongPasswordSixTimesIsRefused",
     .password = "nope",
     .lines = Joined({{kWakeUp}, Repeated(6, kWrongPassword)}),
     .messages = {kWrongLogin}, .errorState = 1, .linkOpen = false, .window = kRefused},
    {.name = "AUserNameAnsweredWithThePromptFailsTheTry",
     .faults = {.replies = {{"root", "#> "}, {"tq7", "\r\n\r\n#> welcome"}}},
     .lines = Joined({{kWakeUp}, Repeated(6, kLogin)}),
     .messages = {kWrongLogin}, .errorState = 1, .linkOpen = false, .window = kRefused},
    {.name = "AFourBytePasswordReplyFailsTheTry",
     .faults = {.replies = {{"tq7", "\r\n#>"}}},
     .lines = Joined({{kWakeUp}, Repeated(6, kLogin)}),
     .messages = {kWrongLogin}, .errorState = 1, .linkOpen = false, .window = kRefused},
    {.name = "ALoginEndingOnADriverFailureReportsTheConnection",
     .firstFailingRead = 1,
     .lines = Joined({{kWakeUp}, Repeated(6, {kLogin[0]})}),
     .messages = {kConnectionError}, .errorState = 1, .linkOpen = false, .window = kRefused},

    {.name = "ASilentConsoleFailsAfterSixWakeUps",
     .faults = {.silent = true},
     .lines = Repeated(6, {kWakeUp}),
     .messages = {kConnectionError}, .errorState = 1, .linkOpen = false, .window = kProbeFailed},
    {.name = "AProbeReadFailureEndsAtOnce",
     .firstFailingRead = 0,
     .lines = {kWakeUp},
     .messages = {kConnectionError}, .errorState = 1, .linkOpen = false, .window = kProbeFailed},
    {.name = "ALogoutFailingOnTheDriverEndsTheConnect",
     .options = {.startLoggedIn = true},
     .failingWrite = kExit,
     .lines = {kWakeUp},
     .messages = {kConnectionError}, .errorState = 1, .linkOpen = false, .window = kLoggedOutAndLost,
     .consoleUser = "root"},

    {.name = "AnEmptyLoginSendsNothing",
     .login = "",
     .messages = {kFillBoth}, .errorState = 1, .linkOpen = false, .window = {}},
    {.name = "AnEmptyPasswordSendsNothing",
     .password = "",
     .messages = {kFillBoth}, .errorState = 1, .linkOpen = false, .window = {}},
};

class ConnectTest : public ConsoleTest, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(ConnectTest, LeavesTheLinkTheWindowAndTheMessage) {
    const ConnectCase& c = GetParam();
    StartConsole(c.options, c.faults);
    OpenLink();
    g_usbLink.errorState = c.errorState == 0 ? kLinkFailed : kNoError;
    if (!c.failingWrite.empty())
        m_scripted.FailWritesOf([bytes = c.failingWrite](std::string_view written) { return written == bytes; });
    m_scripted.FailReadsFrom(c.firstFailingRead);
    PresetWindow(c.window);

    Connect(c.login, c.password);

    EXPECT_EQ(LinesReceived(), c.lines);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(g_usbLink.errorState, c.errorState);
    EXPECT_EQ(UsbIsOpen(), c.linkOpen);
    ExpectWindow(c.window);
    EXPECT_EQ(m_console->User(), c.consoleUser);
}

INSTANTIATE_TEST_SUITE_P(Console, ConnectTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return row.param.name; });

// Each line sent in one write, the NUL before the carriage return of the wake-up line, the user
// name and "exit" but not of the password; the log holds what went and what came, from the logout
// on.
TEST_F(ConsoleTest, LoginLinesGoInOneWriteEachAndAreLogged) {
    StartConsole({.startLoggedIn = true});
    OpenLink();
    Connect("root", "tq7");
    EXPECT_EQ(m_scripted.Writes(), Joined({{kWakeUp, kExit}, kLogin}));
    EXPECT_EQ(LogEntries(), QStringList({"exit", "exit\r\n\r\nlogin: ", "root", "root\r\npassword: ", "tq7",
                                         "\r\n\r\n#> "}));
    EXPECT_EQ(m_console->State(), ConsoleState::kLoggedIn);
}

}  // namespace
