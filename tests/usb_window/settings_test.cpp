// The settings of the Configuration via USB window against the simulated converter console: what
// the window shows is what Save configration sends and Save to file writes, whatever a file held
// and wherever the focus went; the Device list leaves every tty alone; odd files are refused.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/combo_box_widget.h"
#include "platform/ui/ip_address_field.h"
#include "tests/support/open_watch.h"
#include "tests/usb_window/window_fixture.h"

namespace {

using namespace std::chrono_literals;
using platform::ui::ComboBoxWidget;
using platform::ui::IpAddressField;

constexpr const char* kSaved = "Configuration saved. Please restart the device to set configuration.";

// As the window wrote it before lists selected what a file said: loaded and saved back, it must
// come out byte for byte the same.
const std::string kOlderFile =
    "ip:  10.0.0.9\rsubmask:  255.0.0.0\rgateway:  10.0.0.1\rdhcp:  Off\rspeed:  100 Mbit/s\r"
    "serial port profile:  Custom\r";

QString NoEntryChosen(const char* field, const char* shown) {
    return QStringLiteral(
               "%1: no entry of the list is chosen; the field shows \"%2\". Choose an entry from the list.")
        .arg(field, shown);
}

// A FIFO nobody writes to, where opening it to read would wait for a writer. If anyone opens it
// so, the guard comes as that writer and notes it: a load that would block ends and fails the
// test instead of hanging it.
class UnwrittenFifo {
public:
    explicit UnwrittenFifo(std::string path) : m_path(std::move(path)) {
        EXPECT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
        m_guard = std::thread([this] {
            while (!m_stop) {
                // Opening to write without blocking succeeds only while someone has it open to read.
                const int writer = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (writer >= 0) {
                    m_openedToRead = true;
                    ::close(writer);
                }
                std::this_thread::sleep_for(1ms);
            }
        });
    }
    ~UnwrittenFifo() {
        m_stop = true;
        m_guard.join();
    }
    const std::string& Path() const { return m_path; }
    bool OpenedToRead() const { return m_openedToRead; }

private:
    std::string m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_openedToRead{false};
    std::thread m_guard;
};

class UsbWindowSettingsTest : public UsbWindowTest {
public:
    void SetUp() override {
        UsbWindowTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        platform::ui::SetFileDialogHandler(
            [this](platform::ui::FileDialogKind, const QString&, const QString&) -> std::optional<QString> {
                ++m_fileDialogs;
                return m_chosen;
            });
    }

    std::string PathOf(const char* name) const { return m_dir.filePath(name).toStdString(); }
    static std::string ReadFile(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // File > item, as the user picks it from the window's menu bar.
    void Menu(const char* item) const {
        for (QAction* action : Window()->findChild<QMenuBar*>()->findChildren<QAction*>())
            if (action->text() == item) {
                ASSERT_TRUE(action->isEnabled()) << item << " is disabled";
                action->trigger();
                return;
            }
        FAIL() << "no menu item " << item;
    }
    void LoadFromFile(const std::string& bytes) {
        m_chosen = QString::fromStdString(PathOf("chosen.txt"));
        std::ofstream(m_chosen->toStdString(), std::ios::binary) << bytes;
        Menu("Load from file");
    }
    std::string SaveToFile() {
        m_chosen = QString::fromStdString(PathOf("saved.txt"));
        std::remove(m_chosen->toStdString().c_str());
        Menu("Save to file");
        return ReadFile(m_chosen->toStdString());
    }

    QWidget* Window() const { return m_window.GetDlgItem(kIdStatus)->window(); }
    ComboBoxWidget* List(int id) const { return qobject_cast<ComboBoxWidget*>(m_window.GetDlgItem(id)); }
    IpAddressField* Address(int id) const { return qobject_cast<IpAddressField*>(m_window.GetDlgItem(id)); }
    QString Shown(int id) const { return List(id)->currentText(); }
    int Selected(int id) const { return List(id)->SelectedPosition(); }

    // The window must be the active one for clicks to move the focus, as a window manager makes
    // it when the user clicks into it; the progress panel and message boxes take that away.
    void Activate() const {
        Window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window()));
    }
    // A click into the list's edit field, and one into the first address field: the focus comes
    // and goes as the user's mouse moves it.
    void ClickIntoAndOut(int listId) const {
        Activate();
        QTest::mouseClick(List(listId)->lineEdit(), Qt::LeftButton);
        ASSERT_TRUE(List(listId)->lineEdit()->hasFocus());
        QTest::mouseClick(Address(kIdIpAddress)->Field(0), Qt::LeftButton);
        ASSERT_FALSE(List(listId)->lineEdit()->hasFocus());
    }
    // The user opens the list and clicks the entry.
    void Pick(int listId, int position) const {
        ComboBoxWidget* list = List(listId);
        list->showPopup();
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(testsupport::ProcessEventsUntil([view] { return view->isVisible(); }));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(position, 0)).center());
        ASSERT_EQ(Selected(listId), position);
    }

    QTemporaryDir m_dir;
    std::optional<QString> m_chosen;
    int m_fileDialogs = 0;
};

TEST_F(UsbWindowSettingsTest, ALoadedFileIsWhatIsAppliedAndSavedWhereverTheFocusWas) {
    sim::console::SimulatedConsole& console = Attach();  // Off, auto, TCP Sockets
    const sim::console::ConsoleSettings fromTheFile{.ipAddress = "10.0.0.9",
                                                    .submask = "255.0.0.0",
                                                    .gateway = "10.0.0.1",
                                                    .dhcp = false,
                                                    .speed = "100",
                                                    .profile = "custom"};
    InWindow([&] {
        Connect();
        ASSERT_EQ(Shown(kIdProfile), "TCP Sockets");
        LoadFromFile(kOlderFile);
        for (const auto& [id, shown, selected] :
             {std::tuple{kIdDhcp, "Off", 1}, std::tuple{kIdSpeed, "100 Mbit/s", 2},
              std::tuple{kIdProfile, "Custom", 7}}) {
            EXPECT_EQ(Shown(id), shown);
            EXPECT_EQ(Selected(id), selected) << shown;
        }
        ClearMessages();
        Click(kIdSaveConfig);
        EXPECT_EQ(Messages(), QStringList{kSaved});
        EXPECT_EQ(console.Settings(), fromTheFile);

        // The focus passing through the lists changes nothing that is sent or saved.
        console.SetSettings({});
        ClickIntoAndOut(kIdProfile);
        ClickIntoAndOut(kIdSpeed);
        Click(kIdSaveConfig);
        EXPECT_EQ(console.Settings(), fromTheFile);
        EXPECT_EQ(SaveToFile(), kOlderFile);
    });
}

// Each list takes the entry whose file text the value is, exactly; the profile by the texts its
// files carry, which differ from what its list shows.
TEST_F(UsbWindowSettingsTest, EachFileTextSelectsTheEntryItStandsForAndNoOtherText) {
    struct Case {
        int id;
        const char* key;
        const char* value;
        int selected;
        const char* shown;
    } const cases[] = {
        {kIdProfile, "serial port profile:  ", "PP Server", 9, "PPP Server"},
        {kIdProfile, "serial port profile:  ", "Serial Bridge", 5, "Serial Brigde"},
        {kIdProfile, "serial port profile:  ", "Console management", 0, "Console Management"},
        {kIdProfile, "serial port profile:  ", "PPP Server", -1,
         "PPP Server"},  // the list's text, not a file's
        {kIdProfile, "serial port profile:  ", "Console Management", -1, "Console Management"},
        {kIdProfile, "serial port profile:  ", "custom", -1, "custom"},
        {kIdProfile, "serial port profile:  ", "", -1, ""},
        {kIdSpeed, "speed:  ", "10 Mbit/s", 1, "10 Mbit/s"},
        {kIdSpeed, "speed:  ", "10 mbit/s", -1, "10 mbit/s"},
        {kIdDhcp, "dhcp:  ", "On", 0, "On"},
        {kIdDhcp, "dhcp:  ", "off", -1, "off"},
        {kIdDhcp, "dhcp:  ", "Off ", -1, "Off "},
    };
    Attach();
    InWindow([&] {
        Connect();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.key) + c.value);
            std::string file =
                "ip:  10.0.0.9\rsubmask:  255.0.0.0\rgateway:  10.0.0.1\rdhcp:  On\rspeed:  auto\r"
                "serial port profile:  RealPort\r";
            const std::size_t line = file.find(c.key) + std::string_view(c.key).size();
            file.replace(line, file.find('\r', line) - line, c.value);
            LoadFromFile(file);
            EXPECT_EQ(Selected(c.id), c.selected);
            EXPECT_EQ(Shown(c.id), c.shown);
        }
    });
}

// The old rule kept the list's earlier entry under a loaded text, and leaving the field then picked
// the entry that matched it in any case: what was sent hung on the focus.
TEST_F(UsbWindowSettingsTest, AListWithNoEntryChosenRefusesApplyAndSaveWhereverTheFocusGoes) {
    struct Case {
        const char* name;
        std::string file;
        int id;
        QString message;
    } const cases[] = {
        {"a profile in other case",
         "ip:  10.0.0.9\rsubmask:  255.0.0.0\rgateway:  10.0.0.1\rdhcp:  Off\rspeed:  auto\r"
         "serial port profile:  custom\r",
         kIdProfile, NoEntryChosen("Serial port profile", "custom")},
        {"a DHCP value in other case",
         "ip:  10.0.0.9\rsubmask:  255.0.0.0\rgateway:  10.0.0.1\rdhcp:  off\rspeed:  auto\r"
         "serial port profile:  Custom\r",
         kIdDhcp, NoEntryChosen("DHCP", "off")},
        // LF line ends blank every field: once applied as a static 0.0.0.0.
        {"a file with LF line ends",
         "ip:  10.0.0.9\nsubmask:  255.0.0.0\ngateway:  10.0.0.1\ndhcp:  Off\nspeed:  auto\n"
         "serial port profile:  Custom\n",
         kIdDhcp, NoEntryChosen("DHCP", "")},
    };
    sim::console::SimulatedConsole& console = Attach();
    const sim::console::ConsoleSettings before = console.Settings();
    InWindow([&] {
        Connect();
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            LoadFromFile(c.file);
            const QString shown = Shown(c.id);
            ClickIntoAndOut(c.id);
            EXPECT_EQ(Selected(c.id), -1);
            EXPECT_EQ(Shown(c.id), shown);
            console.ClearLog();
            ClearMessages();
            const int fileDialogs = m_fileDialogs;

            Click(kIdSaveConfig);
            EXPECT_TRUE(console.ReceivedLines().empty()) << "sent: " << console.ReceivedLines().front();
            Menu("Save to file");
            EXPECT_EQ(m_fileDialogs, fileDialogs) << "asked for a file to write";
            EXPECT_EQ(Messages(), (QStringList{c.message, c.message}));
            EXPECT_TRUE(Enabled(kIdSaveConfig));
        }
        // Chosen from the list, the entries go.
        Pick(kIdDhcp, 0);
        Pick(kIdSpeed, 0);
        Pick(kIdProfile, 7);
        ClearMessages();
        Click(kIdSaveConfig);
        EXPECT_EQ(Messages(), QStringList{kSaved});
    });
    EXPECT_EQ(console.Settings(), (sim::console::ConsoleSettings{.ipAddress = before.ipAddress,
                                                                 .submask = before.submask,
                                                                 .gateway = before.gateway,
                                                                 .dhcp = true,
                                                                 .speed = "auto",
                                                                 .profile = "custom"}));
}

TEST_F(UsbWindowSettingsTest, BlankAddressFieldsGoAsBlankAndAPartlyFilledOneIsRefused) {
    // An address no field can hold blanks the field, from the converter as from a file.
    sim::console::SimulatedConsole& console = Attach({.settings = {.ipAddress = "10.0.0.300"}});
    InWindow([&] {
        Connect();
        EXPECT_EQ(Address(kIdIpAddress)->Text(), "");
        LoadFromFile(
            "ip:  10.0.0.256\rsubmask:  \rgateway:  10.0.0\rdhcp:  Off\rspeed:  auto\r"
            "serial port profile:  TCP Sockets\r");
        for (const int id : {kIdIpAddress, kIdSubmask, kIdGateway}) {
            EXPECT_TRUE(Address(id)->IsBlank()) << id;
            EXPECT_TRUE(Enabled(id)) << id;
        }
        // The converter decides what a blank value means; this one takes it.
        console.SetFaults({.replies = {{"set network ip=\"", "ok\r\n#>"},
                                       {"set network submask=\"", "ok\r\n#>"},
                                       {"set network gateway=\"", "ok\r\n#>"}}});
        console.ClearLog();
        ClearMessages();
        Click(kIdSaveConfig);
        EXPECT_EQ(Messages(), QStringList{kSaved});
        const std::vector<std::string> lines = console.ReceivedLines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3),
                  (std::vector<std::string>{"set network ip=\"\n", "set network submask=\"\n",
                                            "set network gateway=\"\n"}));
        EXPECT_EQ(SaveToFile(),
                  "ip:  \rsubmask:  \rgateway:  \rdhcp:  Off\rspeed:  auto\r"
                  "serial port profile:  TCP Sockets\r");

        // Two of four numbers typed.
        QTest::keyClicks(Address(kIdIpAddress)->Field(0), "10");
        QTest::keyClicks(Address(kIdIpAddress)->Field(1), "1");
        const QString partly = QStringLiteral(
            "Adres IP: \"10.1..\" is not a whole address. Fill in all four numbers, or clear the field.");
        console.ClearLog();
        ClearMessages();
        Click(kIdSaveConfig);
        m_chosen = QString::fromStdString(PathOf("partly.txt"));
        Menu("Save to file");
        EXPECT_EQ(Messages(), (QStringList{partly, partly}));
        EXPECT_TRUE(console.ReceivedLines().empty());
        EXPECT_FALSE(QFile::exists(*m_chosen));

        // With DHCP on no address is sent, so none stands in the way.
        Pick(kIdDhcp, 0);
        ClearMessages();
        Click(kIdSaveConfig);
        EXPECT_EQ(Messages(), QStringList{kSaved});
    });
}

// Opening a tty raises and drops its modem lines, which resets a board on another adapter; a
// board busy in another program made the window report an error although the converter was there.
TEST_F(UsbWindowSettingsTest, TheWindowOpensNoTtyButTheChosenConvertersAtConnect) {
    Attach();
    m_tree.AddPort({.ttyNumber = 1, .productId = 0x6001, .product = "Development board"});
    platform::SysfsFtdiDriver otherProgram(m_tree.Roots());
    std::uint32_t count = 0;
    ASSERT_EQ(otherProgram.BuildDeviceList(count), platform::FtdiStatus::kOk);
    platform::FtdiHandle board = platform::kNoFtdiHandle;
    ASSERT_EQ(otherProgram.Open(1, board), platform::FtdiStatus::kOk);
    const std::filesystem::path converterNode = m_tree.DevRoot() / "ttyUSB0";
    const std::filesystem::path boardNode = m_tree.DevRoot() / "ttyUSB1";
    testsupport::OpenWatch watch;
    watch.Watch(converterNode);
    watch.Watch(boardNode);

    InWindow(
        [&] {
            EXPECT_EQ(Shown(kIdDevice), "TQ7 Converter, COM 0");
            EXPECT_EQ(List(kIdDevice)->count(), 1);
            EXPECT_TRUE(Messages().isEmpty());
            Click(kIdRefresh);
            EXPECT_TRUE(Messages().isEmpty());
            EXPECT_EQ(watch.Opens(converterNode), 0);
            EXPECT_EQ(watch.Opens(boardNode), 0);
            Connect();
            EXPECT_EQ(Messages(), (QStringList{"Connected", kLoaded}));
        },
        kConnected);
    EXPECT_EQ(watch.Opens(converterNode), 1);
    EXPECT_EQ(watch.Opens(boardNode), 0);
}

TEST_F(UsbWindowSettingsTest, WhatIsNoFileIsRefusedAtOnceWithItsCause) {
    UnwrittenFifo loadFifo(PathOf("load.fifo"));
    const std::string saveFifo = PathOf("save.fifo");
    ASSERT_EQ(::mkfifo(saveFifo.c_str(), 0600), 0);
    // Held open to read, so that a save that wrote into it would neither block nor go unseen.
    const int saveReader = ::open(saveFifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(saveReader, 0);
    struct Case {
        const char* item;
        std::string path;
        const char* message;
    } const cases[] = {
        {"Load from file", loadFifo.Path(), "File could not be opened: 5"},
        {"Load from file", "/dev/null", "File could not be opened: 5"},
        {"Load from file", m_dir.path().toStdString(), "File could not be opened: 5"},
        {"Load from file", PathOf("missing/TQ7_config.txt"), "File could not be opened: 3"},
        {"Load from file", PathOf("missing.txt"), "File could not be opened: 2"},
        {"Save to file", saveFifo, "File could not be opened: 5"},
        {"Save to file", PathOf("missing/TQ7_config.txt"), "File could not be opened: 3"},
    };
    Attach();
    InWindow([&] {
        Connect();
        const QString address = Address(kIdIpAddress)->Text();
        for (const Case& c : cases) {
            SCOPED_TRACE(c.item + (" " + c.path));
            ClearMessages();
            m_chosen = QString::fromStdString(c.path);
            Menu(c.item);
            EXPECT_EQ(Messages(), QStringList{c.message});
            EXPECT_EQ(Address(kIdIpAddress)->Text(), address) << "the window changed";
        }
    });
    EXPECT_FALSE(loadFifo.OpenedToRead()) << "the load opened the FIFO and waited for a writer";
    char byte = 0;
    EXPECT_LE(::read(saveReader, &byte, 1), 0) << "the save wrote into the FIFO";
    ::close(saveReader);
}

}  // namespace
