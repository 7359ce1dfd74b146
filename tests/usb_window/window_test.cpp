// The Configuration via USB window itself, offscreen, against a simulated converter console behind
// the program's real driver: what each event leaves the window, the link and the console in.

#include "usb/usb_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "lan_dialogs/progress.h"
#include "platform/ftdi_linux.h"
#include "platform/time.h"
#include "platform/ui/seams.h"
#include "sim/console/device_tree.h"
#include "sim/console/simulated_console.h"
#include "tests/support/modal.h"
#include "tests/usb/usb_fixture.h"
#include "tests/usb_window/link_watch.h"
#include "tests/usb_window/window_fixture.h"
#include "usb/link.h"
#include "usb/setting_fields.h"
#include "usb/window_controls.h"

namespace {

using sim::console::ConsoleState;

TEST_F(UsbWindowTest, OpensDisconnectedWithEmptyLoginFieldsAndTheFirstSelections) {
    Attach();
    g_strLogin = "kept from before";
    InWindow([] {},
             {.status = "Disconnected", .connect = true, .disconnect = false, .fields = true, .config = false,
              .menu = false, .linkOpen = false, .messages = QStringList{}});
    // The texts of the last Connect stay; only the fields start empty.
    EXPECT_EQ(g_strLogin, "kept from before");
    InWindow([this] {
        EXPECT_EQ(m_window.GetDlgItem(kIdLogin)->property("text").toString(), "");
        EXPECT_EQ(m_window.GetDlgItem(kIdDevice)->property("currentText").toString(), "TQ7 Converter, COM 0");
        for (const auto& [id, text] : std::initializer_list<std::pair<int, const char*>>{
                 {kIdBaudRate, "9600 bit/s"}, {kIdLineMode, "8N1"}, {kIdProfile, "Local configuration"},
                 {kIdSpeed, "auto"}, {kIdDhcp, ""}})
            EXPECT_EQ(m_window.GetDlgItem(id)->property("currentText").toString(), text) << id;
        // The login fields take sixteen characters and no more.
        Type(kIdLogin, "12345678901234567");
        EXPECT_EQ(m_window.GetDlgItem(kIdLogin)->property("text").toString().size(), 16);
    });
}

TEST_F(UsbWindowTest, WithoutAConverterConnectIsOffUntilRefreshFindsOne) {
    InWindow([this] {
        EXPECT_EQ(m_window.GetDlgItem(kIdDevice)->property("currentText").toString(), "No device connected");
        EXPECT_FALSE(Enabled(kIdConnect));
        EXPECT_EQ(g_usbLink.errorState, 1);
        Attach();
        Click(kIdRefresh);
    }, {.connect = true, .disconnect = false, .fields = true, .errorState = 0});
}

TEST_F(UsbWindowTest, EachConnectOutcomeLeavesTheWindowAsItShould) {
    struct Case {
        const char* what;
        std::function<void(UsbWindowTest&)> arrange;
        const char* login;
        const char* password;
        Seen expected;
    };
    const Case cases[] = {
        {"logged in, then the settings read at once", [](UsbWindowTest& t) { t.Attach(); }, "root", "tq7",
         [] {
             Seen seen = kConnected;
             seen.messages = QStringList{"Connected", kLoaded};
             return seen;
         }()},
        {"logged in before: logged out with exit and in again",
         [](UsbWindowTest& t) { t.Attach({.startLoggedIn = true}); }, "root", "tq7",
         [] {
             Seen seen = kConnected;
             seen.messages = QStringList{"Connected", kLoaded};
             return seen;
         }()},
        {"an empty password sends nothing and closes the link", [](UsbWindowTest& t) { t.Attach(); }, "root", "",
         {.connect = true, .linkOpen = false, .errorState = 1,
          .messages = QStringList{"The user name and password need to be filled"}}},
        {"a wrong password six times", [](UsbWindowTest& t) { t.Attach(); }, "root", "wrong",
         {.status = "Disconnected", .connect = true, .disconnect = false, .refresh = true, .fields = true,
          .config = false, .linkOpen = false, .errorState = 1, .messages = QStringList{"Wrong login or password"}}},
        {"a console that never answers", [](UsbWindowTest& t) { t.Attach().SetFaults({.silent = true}); }, "root",
         "tq7",
         {.connect = true, .disconnect = false, .refresh = true, .fields = true, .config = false, .linkOpen = false,
          .errorState = 1, .messages = QStringList{kConnectionError}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange(*this);
        InWindow([&] { Connect(c.login, c.password); }, c.expected);
        UsbClose();
        ClearMessages();
        m_tree.Remove(0);
    }
}

TEST_F(UsbWindowTest, AnEmptyPasswordNeverReachesTheConsole) {
    sim::console::SimulatedConsole& console = Attach();
    InWindow([&] { Connect("root", ""); });
    EXPECT_TRUE(console.ReceivedLines().empty());
}

TEST_F(UsbWindowTest, AConsoleLeftLoggedInIsLoggedOutBeforeTheLogin) {
    sim::console::SimulatedConsole& console = Attach({.startLoggedIn = true});
    InWindow([&] { Connect(); }, kConnected);
    const auto lines = console.ReceivedLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("exit\0\r", 6)), lines.end()) << "no logout was sent";
    EXPECT_EQ(console.State(), ConsoleState::kLoggedIn);
}

TEST_F(UsbWindowTest, EventsWhileConnectedLeaveTheWindowAsTheyShould) {
    struct Case {
        const char* what;
        std::function<void(UsbWindowTest&)> act;
        Seen expected;
        std::optional<ConsoleState> console;
    };
    const Case cases[] = {
        {"Disconnect logs out and closes", [](UsbWindowTest& t) { t.Click(kIdDisconnect); }, kLoggedOut,
         ConsoleState::kLoginPrompt},
        {"Restart boots the converter and ends the session",
         [](UsbWindowTest& t) { t.Click(kIdRestart); },
         {.status = "Disconnected", .connect = true, .disconnect = false, .refresh = true, .fields = true,
          .config = false, .menu = true, .linkOpen = false, .errorState = 0, .messages = QStringList{}},
         ConsoleState::kBooting},
        {"Enter in a field reaches Restart, the default button",
         [](UsbWindowTest& t) {
             QWidget* field = t.m_window.GetDlgItem(kIdIpAddress)->findChild<QLineEdit*>();
             field->setFocus();
             QTest::keyClick(field, Qt::Key_Return);
         },
         {.status = "Disconnected", .config = false, .menu = true, .linkOpen = false}, ConsoleState::kBooting},
        {"Load configuration reads again", [](UsbWindowTest& t) { t.Click(kIdLoadConfig); },
         [] {
             Seen seen = kConnected;
             seen.messages = QStringList{kLoaded};
             return seen;
         }(),
         ConsoleState::kLoggedIn},
        {"Save configration writes", [](UsbWindowTest& t) { t.Click(kIdSaveConfig); },
         [] {
             Seen seen = kConnected;
             seen.fields = true;  // the apply worker gives them back, connected as it is
             seen.messages = QStringList{"Configuration saved. Please restart the device to set configuration."};
             return seen;
         }(),
         ConsoleState::kLoggedIn},
        {"a lost link found by Load configuration", [](UsbWindowTest& t) {
             t.m_console->Unplug();
             t.Click(kIdLoadConfig);
         },
         [] {
             Seen seen = kLoggedOut;
             seen.errorState = 1;
             seen.messages = QStringList{kConnectionError};
             return seen;
         }(),
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Attach({.bootSilence = kEndlessBoot});  // a restarted console is looked at while it boots
        InWindow([&] {
            Connect();
            ASSERT_TRUE(Enabled(kIdDisconnect)) << "not connected";
            ClearMessages();
            c.act(*this);
        }, c.expected);
        if (c.console) {
            EXPECT_EQ(m_console->State(), *c.console);
        }
        UsbClose();
        ClearMessages();
        m_tree.Remove(0);
    }
}

TEST_F(UsbWindowTest, ALogoutAnsweredOnlyByLoginPromptsLeavesTheWindowConnected) {
    Attach();
    InWindow([&] {
        Connect();
        m_console->SetFaults({.replies = {{"exit", "login: "}}});
        Click(kIdDisconnect);
    }, kConnected);
}

TEST_F(UsbWindowTest, ClosingTheWindowDoesNotLogOut) {
    sim::console::SimulatedConsole& console = Attach();
    InWindow([&] {
        Connect();
        console.ClearLog();
    });
    EXPECT_FALSE(UsbIsOpen());
    EXPECT_TRUE(console.ReceivedLines().empty()) << "something was sent on closing";
    EXPECT_EQ(console.State(), ConsoleState::kLoggedIn);
}

TEST_F(UsbWindowTest, DeviceInformationThatLosesTheLinkDisconnectsTheWindow) {
    Attach();
    InWindow([&] {
        Connect();
        ClearMessages();
        m_console->Unplug();
        // The dialog runs modally over the window: press one of its reports once it shows.
        QTimer::singleShot(0, [] {
            ASSERT_TRUE(testsupport::ProcessEventsUntil([] { return QApplication::activeModalWidget() != nullptr; }));
            for (auto* button : QApplication::activeModalWidget()->findChildren<QPushButton*>())
                if (button->text() == "Uptime") return button->click();
            ADD_FAILURE() << "no Uptime button";
        });
        Click(kIdDeviceInfo);
    }, [] {
        Seen seen = kLoggedOut;
        seen.menu = std::nullopt;  // left as it was
        seen.errorState = 1;
        seen.messages = QStringList{kConnectionError};
        return seen;
    }());
}

// The worker behind the panel is still logging in: nothing the user does may end the panel or the
// window, or the window would go on to read the settings over a link the login still uses.
TEST_F(UsbWindowTest, EscapeAndCloseRequestsDuringConnectLeaveTheLoginAloneOnTheLink) {
    sim::console::SimulatedConsole& console = Attach();
    LinkWatch watch(m_inTurn, "tq7\r");  // the password line: the login is half done
    platform::SetDefaultFtdiDriver(&watch);
    bool panelStayed = false;
    QTimer meanwhile;
    meanwhile.setInterval(0);
    QObject::connect(&meanwhile, &QTimer::timeout, [&] {
        if (!watch.Holding()) return;
        meanwhile.stop();
        QDialog* panel = g_dlgProgress.Window();
        ASSERT_NE(panel, nullptr);
        QTest::keyClick(panel, Qt::Key_Escape);
        panel->close();
        QTest::keyClick(m_window.Window(), Qt::Key_Escape);
        m_window.Window()->close();
        // Whatever those set going has run by now.
        panelStayed = !testsupport::ProcessEventsUntil([panel] { return !panel->isVisible(); }, 100);
        watch.Release();
    });
    meanwhile.start();
    InWindow([&] { Connect(); }, [] {
        Seen seen = kConnected;
        seen.messages = QStringList{"Connected", kLoaded};
        return seen;
    }());
    EXPECT_TRUE(panelStayed) << "the panel ended before its worker did";
    EXPECT_TRUE(watch.OneUserAtATime()) << "two workers used the link at once";
    const auto lines = console.ReceivedLines();
    const auto password = std::find(lines.begin(), lines.end(), "tq7\r");
    const auto firstRead = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("show");
    });
    ASSERT_NE(password, lines.end()) << "the login never finished";
    EXPECT_LT(password, firstRead) << "a read command came before the login was complete";
    EXPECT_EQ(console.State(), ConsoleState::kLoggedIn);
}

// Each showing of the panel as it appears: the window it belongs to, and how far its centre is
// from the centre of the window that started it.
struct PanelShowing {
    const QWidget* owner;
    QPoint offCentre;
};

class PanelShowings : public QObject {
public:
    const QWidget* starter = nullptr;
    std::vector<PanelShowing> seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QWidget* panel = g_dlgProgress.Window();
        if (event->type() == QEvent::Show && watched == panel && starter != nullptr)
            seen.push_back({panel->parentWidget(), panel->frameGeometry().center() - starter->frameGeometry().center()});
        return false;
    }
};

TEST_F(UsbWindowTest, ThePanelAppearsCentredOverTheWindowEachTime) {
    Attach();
    PanelShowings showings;
    QApplication::instance()->installEventFilter(&showings);
    InWindow([&] {
        showings.starter = m_window.Window();
        // Off the screen's middle, so that a panel centred on the screen shows.
        m_window.Window()->move(5, 5);
        Connect();  // the login, then at once the read of the settings, as the first panel closes
        ASSERT_EQ(showings.seen.size(), 2u);
        for (const PanelShowing& showing : showings.seen) {
            EXPECT_EQ(showing.owner, m_window.Window());
            EXPECT_LE(showing.offCentre.manhattanLength(), 2) << showing.offCentre.x() << "," << showing.offCentre.y();
        }
    }, kConnected);
    QApplication::instance()->removeEventFilter(&showings);
}

}  // namespace
