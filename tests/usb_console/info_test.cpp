#include <gtest/gtest.h>

#include <QListWidget>

#include "tests/usb_console/console_fixture.h"
#include "usb/info_dialog.h"
#include "usb/info_lines.h"

namespace {

using sim::console::ConsoleFaults;
using Lines = std::vector<std::string>;

TEST(InfoReplyLines, StartAtIndexFourteenWithOneSpaceAndLeaveThePromptOut) {
    const struct {
        const char* reply;
        Lines lines;
    } cases[] = {
        // The echo's own CR is at 14: a lone space first, then every answer line whole.
        {"display device\r\nLine one\r\n#>", {" ", " Line one"}},
        {"show permissions\r\nroot: all\r\n#>", {" ", " root: all"}},
        // The echo's CR lies before 14: the first answer line loses two characters.
        {"show network\r\nabcdef\r\n#>", {" cdef"}},
        {"show network\r\n\r\nipaddress : 1.2.3.4\r\n#> ", {" ", " ipaddress : 1.2.3.4"}},
        {"display device\r\n\r\n\r\n#>", {" ", " ", " "}},
        {"display device\r\nno end", {" "}},
        {"show network\r\nabcdef", {}},  // no CR at or after 14
        {"display devic", {}},            // shorter than 14
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(InfoReplyLines(c.reply), c.lines) << c.reply;
}

constexpr int kClose = 2;

struct InfoCommand {
    int button;
    std::string text;
};

const InfoCommand kCommands[] = {
    {1043, "display device"}, {1070, "show ethernet"},    {1071, "show network"},
    {1072, "display uptime"}, {1075, "show permissions"},
};

class InfoTest : public ConsoleTest {
protected:
    void Open(const ConsoleFaults& faults = {}) {
        StartConsole({.startLoggedIn = true}, faults);
        OpenLoggedInLink();
        m_info.SetDevice(g_usbLink.handle);
    }

    // Shows the dialog and presses the buttons in turn, then Close; returns how it ended and what
    // the list showed after each button.
    int Show(const std::vector<int>& buttons, std::vector<QStringList>* listed = nullptr) {
        return testsupport::RunModal(m_info, [&] {
            for (const int button : buttons) {
                m_info.ExecuteCommand(button);
                if (listed != nullptr) listed->push_back(Listed());
            }
            m_info.ExecuteCommand(kClose);
        });
    }

    // Presses one button and nothing else: the dialog has to end by itself.
    int ShowUntilItEnds(int button) {
        return testsupport::RunModal(m_info, [&] { m_info.ExecuteCommand(button); });
    }

    QStringList Listed() const {
        QStringList lines;
        const auto* list = qobject_cast<QListWidget*>(m_info.GetDlgItem(1077));
        for (int i = 0; list != nullptr && i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

    CInfo m_info;
};

TEST_F(InfoTest, EachButtonSendsItsCommandOneByteAWriteAndListsTheReply) {
    Open();
    for (const InfoCommand& command : kCommands) {
        SCOPED_TRACE(command.text);
        m_scripted.ClearWrites();
        std::vector<QStringList> listed;
        EXPECT_EQ(Show({command.button}, &listed), kClose);
        EXPECT_EQ(m_info.HasFailed(), 0);

        Lines bytes;
        for (const char byte : command.text + "\n") bytes.emplace_back(1, byte);
        EXPECT_EQ(m_scripted.Writes(), bytes);
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_GT(listed[0].size(), 1);
        for (const QString& line : listed[0]) EXPECT_TRUE(line.startsWith(' ')) << line.toStdString();
        EXPECT_FALSE(listed[0].last().contains("#>"));
    }
}

TEST_F(InfoTest, HandMadeRepliesAreListedByTheRule) {
    Open({.replies = {{"display device", "display device\r\nLine one\r\n#>"},
                      {"show network", "show network\r\nabcdef\r\n#>"},
                      {"display uptime", "display uptime"}}});
    std::vector<QStringList> listed;
    EXPECT_EQ(Show({1043, 1071, 1072}, &listed), kClose);
    EXPECT_EQ(listed, (std::vector<QStringList>{{" ", " Line one"}, {" cdef"}, {}}));
    EXPECT_EQ(m_info.HasFailed(), 0);  // a reply too short to list is no failure
}

struct FailureCase {
    std::string name;
    ConsoleFaults faults;
    bool lastWriteFails = false;
    bool readFails = false;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const FailureCase kFailures[] = {
    {.name = "ErrorInTheReply", .faults = {.failingCommands = {"show ethernet"}}},
    {.name = "ErrorInTheEcho", .faults = {.replies = {{"show ethernet", "show ethernet Error\r\n#>"}}}},
    {.name = "AFailedLastWrite", .lastWriteFails = true},
    {.name = "AFailedRead", .readFails = true},
};

class InfoFailureTest : public InfoTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(InfoFailureTest, ClosesTheDialogAndTheFlagOutlivesTheShowing) {
    const FailureCase& c = GetParam();
    Open(c.faults);
    if (c.lastWriteFails) m_scripted.FailWritesOf([](std::string_view bytes) { return bytes == "\n"; });
    if (c.readFails) m_scripted.FailReadsFrom(0);
    EXPECT_EQ(ShowUntilItEnds(1070), kClose);
    EXPECT_EQ(m_info.HasFailed(), 1);
    EXPECT_TRUE(Messages().isEmpty());

    // Shown again and closed without a command: still failed.
    EXPECT_EQ(Show({}), kClose);
    EXPECT_EQ(m_info.HasFailed(), 1);
}

INSTANTIATE_TEST_SUITE_P(Info, InfoFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& row) { return row.param.name; });

TEST_F(InfoTest, OnlyTheLastWriteOfACommandDecides) {
    Open({.replies = {{"isplay evice", "isplay evice\r\nLine one\r\n#>"}}});
    m_scripted.FailWritesOf([](std::string_view bytes) { return bytes == "d"; });
    std::vector<QStringList> listed;
    EXPECT_EQ(Show({1043}, &listed), kClose);
    EXPECT_EQ(m_info.HasFailed(), 0);
    EXPECT_EQ(listed, (std::vector<QStringList>{{" ne one"}}));
    // Every byte after a failed one was still written.
    EXPECT_EQ(LinesReceived(), Lines{"isplay evice\n"});
}

TEST_F(InfoTest, ASuccessfulCommandClearsTheFlag) {
    Open({.failingCommands = {"show ethernet"}});
    ShowUntilItEnds(1070);
    ASSERT_EQ(m_info.HasFailed(), 1);
    EXPECT_EQ(Show({1043}), kClose);
    EXPECT_EQ(m_info.HasFailed(), 0);
}

}  // namespace
