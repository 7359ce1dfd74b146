#include "usb/config_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>

#include "platform/ui/dialog.h"
#include "platform/ui/seams.h"
#include "settings/value_tables.h"
#include "tests/support/modal.h"
#include "usb/setting_fields.h"
#include "usb/window_controls.h"

namespace {

using namespace std::string_literals;

// The real window's template with its controls bound and its lists filled, and nothing else.
class SettingsWindow : public platform::ui::CDialog {
public:
    SettingsWindow() : CDialog(kUsbWindowTemplate) {}

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override { BindWindowControls(dx); }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        FillSettingLists();
        return true;
    }
};

// The six values as the window shows them; blank address fields as "".
struct Shown {
    QString ip, submask, gateway, dhcp, speed, profile;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* out) {
    *out << '[' << s.ip.toStdString() << '|' << s.submask.toStdString() << '|' << s.gateway.toStdString() << '|'
         << s.dhcp.toStdString() << '|' << s.speed.toStdString() << '|' << s.profile.toStdString() << ']';
}

Shown ShownValues() {
    return {g_ipAddress.GetWindowText(), g_ipSubmask.GetWindowText(), g_ipGateway.GetWindowText(),
            g_cbDhcp.GetWindowText(),    g_cbSpeed.GetWindowText(),   g_cbProfile.GetWindowText()};
}

// The entries the DHCP, speed and profile lists have selected.
using Selected = std::array<int, 3>;
Selected SelectedPositions() {
    return {g_cbDhcp.GetCurSel(), g_cbSpeed.GetCurSel(), g_cbProfile.GetCurSel()};
}
constexpr int kNone = settings::kNoPosition;

bool AddressFieldsEnabled() { return g_ipAddress.IsWindowEnabled(); }

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        platform::ui::SetMessageBoxHandler([this](const QString& text, const QString&) {
            m_messages << text;
            return platform::ui::kIdOk;
        });
        platform::ui::SetFileDialogHandler([this](platform::ui::FileDialogKind kind, const QString& name,
                                                  const QString& filter) -> std::optional<QString> {
            m_asked << QStringLiteral("%1 %2 [%3]").arg(kind == platform::ui::FileDialogKind::Save ? "save" : "open",
                                                      name, filter);
            return m_chosen;
        });
    }
    void TearDown() override { platform::ui::ResetSeams(); }

    // Runs `whileOpen` with the window up and its controls bound.
    void WithWindow(const std::function<void()>& whileOpen) {
        SettingsWindow window;
        testsupport::RunModal(window, [&] {
            whileOpen();
            window.EndDialog(platform::ui::kIdCancel);
        });
    }

    QString PathOf(const char* name) const { return m_dir.filePath(name); }

    void WriteFile(const QString& path, const std::string& bytes) const {
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    }
    std::string ReadFile(const QString& path) const {
        std::ifstream file(path.toStdString(), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // Loads `bytes` as a file the user picked.
    void Load(const std::string& bytes) {
        m_chosen = PathOf("loaded.txt");
        WriteFile(*m_chosen, bytes);
        OnLoadFromFile();
    }

    QTemporaryDir m_dir;
    std::optional<QString> m_chosen;
    QStringList m_asked;
    QStringList m_messages;  // UI thread only: the file commands run there
};

TEST_F(ConfigFileTest, SavesExactlySixCrTerminatedLines) {
    struct Case {
        const char* name;
        const char* address;
        int dhcp, speed, profile;
        std::string file;
    } const cases[] = {
        {"static, Serial Bridge", "10.0.0.7", settings::kDhcpOff, 2, 5,
         "ip:  10.0.0.7\rsubmask:  10.0.0.7\rgateway:  10.0.0.7\rdhcp:  Off\rspeed:  100 Mbit/s\r"
         "serial port profile:  Serial Bridge\r"},
        {"DHCP, PP Server", "10.0.0.7", settings::kDhcpOn, 1, 9,
         "ip:  10.0.0.7\rsubmask:  10.0.0.7\rgateway:  10.0.0.7\rdhcp:  On\rspeed:  10 Mbit/s\r"
         "serial port profile:  PP Server\r"},
        // Blank is saved as blank, never as 0.0.0.0.
        {"blank addresses", "", settings::kDhcpOn, 0, 0,
         "ip:  \rsubmask:  \rgateway:  \rdhcp:  On\rspeed:  auto\rserial port profile:  Console "
         "management\r"},
    };
    WithWindow([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            for (platform::ui::CIPAddressCtrl* field : {&g_ipAddress, &g_ipSubmask, &g_ipGateway})
                field->SetWindowText(c.address);
            g_cbDhcp.SetCurSel(c.dhcp);
            g_cbSpeed.SetCurSel(c.speed);
            g_cbProfile.SetCurSel(c.profile);
            m_chosen = PathOf("TQ7_config.txt");
            WriteFile(*m_chosen, std::string(2000, 'x'));  // an older, longer file is replaced whole
            OnSaveToFile();
            EXPECT_EQ(ReadFile(*m_chosen), c.file);
        }
    });
    EXPECT_EQ(m_asked.first(), "save TQ7_config.txt []");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

// The file keeps the profile's file text, which differs from the list's own text; loading it
// selects the entry it stands for, so the list shows the entry's own text.
TEST_F(ConfigFileTest, ProfileFileTextsSelectTheirEntries) {
    WithWindow([&] {
        g_cbDhcp.SetCurSel(settings::kDhcpOn);
        for (const auto& [position, fileText, listText] :
             {std::tuple{5, "Serial Bridge", "Serial Brigde"}, std::tuple{9, "PP Server", "PPP Server"}}) {
            g_cbProfile.SetCurSel(position);
            EXPECT_EQ(ProfileFileText(), fileText);
            m_chosen = PathOf("profile.txt");
            OnSaveToFile();
            EXPECT_NE(ReadFile(*m_chosen).find(std::string("profile:  ") + fileText + "\r"),
                      std::string::npos);
            g_cbProfile.SetCurSel(settings::kDefaultSerialProfilePosition);
            OnLoadFromFile();
            EXPECT_EQ(g_cbProfile.GetCurSel(), position);
            EXPECT_EQ(g_cbProfile.GetWindowText(), listText);
        }
        g_cbProfile.SetCurSel(settings::kNoPosition);
        EXPECT_EQ(ProfileFileText(), "");
    });
    EXPECT_EQ(m_asked.last(), "open *.txt []");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

// Each list selects the entry its value stands for, exactly, or none; whatever it held before
// the load is gone either way.
TEST_F(ConfigFileTest, LoadsEachValueAfterTheKeyBeforeIt) {
    const Shown all{"10.1.1.5", "255.255.0.0", "10.1.0.1", "Off", "10 Mbit/s", "Custom"};
    const Selected allSelected{settings::kDhcpOff, 1, 7};
    const Shown none{};
    const Selected noneSelected{kNone, kNone, kNone};
    struct Case {
        const char* name;
        std::string file;
        Shown shown;
        Selected selected;
        bool fieldsBefore, fieldsAfter;
    } const cases[] = {
        {"CR",
         "ip:  10.1.1.5\rsubmask:  255.255.0.0\rgateway:  10.1.0.1\rdhcp:  Off\rspeed:  10 Mbit/s\r"
         "serial port profile:  Custom\r",
         all, allSelected, false, true},
        {"CR LF",
         "ip:  10.1.1.5\r\nsubmask:  255.255.0.0\r\ngateway:  10.1.0.1\r\ndhcp:  Off\r\n"
         "speed:  10 Mbit/s\r\nserial port profile:  Custom\r\n",
         all, allSelected, false, true},
        {"LF only",
         "ip:  10.1.1.5\nsubmask:  255.255.0.0\ngateway:  10.1.0.1\ndhcp:  Off\nspeed:  10 Mbit/s\n"
         "serial port profile:  Custom\n",
         none, noneSelected, false, false},
        {"one space after ip",
         "ip: 10.1.1.5\rsubmask:  255.255.0.0\rgateway:  10.1.0.1\rdhcp:  Off\r"
         "speed:  10 Mbit/s\rserial port profile:  Custom\r",
         none, noneSelected, false, false},
        {"one space after dhcp",
         "ip:  10.1.1.5\rsubmask:  255.255.0.0\rgateway:  10.1.0.1\rdhcp: On\r"
         "speed:  10 Mbit/s\rserial port profile:  Custom\r",
         {"10.1.1.5", "255.255.0.0", "10.1.0.1", "", "", ""},
         noneSelected,
         true,
         true},
        {"Off with a trailing space",
         "ip:  10.1.1.5\rsubmask:  255.255.0.0\rgateway:  10.1.0.1\rdhcp:  Off \r"
         "speed:  10 Mbit/s\rserial port profile:  Custom\r",
         {"10.1.1.5", "255.255.0.0", "10.1.0.1", "Off ", "10 Mbit/s", "Custom"},
         {kNone, 1, 7},
         false,
         false},
        {"texts that differ in case or are list texts",
         "ip:  10.1.1.5\rsubmask:  255.255.0.0\rgateway:  10.1.0.1\rdhcp:  off\rspeed:  10 mbit/s\r"
         "serial port profile:  PPP Server\r",
         {"10.1.1.5", "255.255.0.0", "10.1.0.1", "off", "10 mbit/s", "PPP Server"},
         noneSelected,
         true,
         true},
        {"On", "dhcp:  On\r", {"", "", "", "", "", ""}, noneSelected, true, true},
        {"keys out of order",
         "submask:  255.255.0.0\rip:  10.1.1.5\rgateway:  10.1.0.1\r",
         {"10.1.1.5", "", "", "", "", ""},
         noneSelected,
         true,
         true},
        {"last line without its CR",
         "ip:  10.1.1.5\rsubmask:  255.255.0.0\rgateway:  10.1.0.1\rdhcp:  Off\r"
         "speed:  10 Mbit/s\rserial port profile:  Custom",
         {"10.1.1.5", "255.255.0.0", "10.1.0.1", "Off", "10 Mbit/s", ""},
         {settings::kDhcpOff, 1, kNone},
         false,
         true},
        {"zero byte",
         "ip:  10.1.1.5\rsubmask:  255.255.0.0\r\0gateway:  10.1.0.1\rdhcp:  Off\r"s,
         {"10.1.1.5", "255.255.0.0", "", "", "", ""},
         noneSelected,
         true,
         true},
        // Never a changed address: what is no whole address blanks the field.
        {"addresses no field can hold", "ip:  10.1.1.300\rsubmask:  255.255.0\rgateway:  10.1.0.1 \r", none,
         noneSelected, true, true},
        {"empty file", "", none, noneSelected, true, true},
    };
    WithWindow([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            // Every field starts filled and every list with an entry no file line above selects,
            // so that whatever the load leaves behind shows.
            g_ipAddress.SetWindowText("9.9.9.9");
            g_ipSubmask.SetWindowText("9.9.9.9");
            g_ipGateway.SetWindowText("9.9.9.9");
            g_cbDhcp.SetCurSel(settings::kDhcpOn);
            g_cbSpeed.SetCurSel(2);
            g_cbProfile.SetCurSel(4);
            EnableAddressFields(c.fieldsBefore);
            Load(c.file);
            EXPECT_EQ(ShownValues(), c.shown);
            EXPECT_EQ(SelectedPositions(), c.selected);
            EXPECT_EQ(AddressFieldsEnabled(), c.fieldsAfter);
        }
    });
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

// Only the first 1000 bytes are read: a line that ends beyond them is not there.
TEST_F(ConfigFileTest, ReadsNoFurtherThanTheFirstThousandBytes) {
    std::string file = "ip:  10.1.1.5\rsubmask:  255.255.0.0\r";
    file.resize(990, 'x');
    file += "gateway:  10.1.0.1\rdhcp:  On\rspeed:  auto\rserial port profile:  Custom\r";
    file.resize(5000, 'x');
    WithWindow([&] {
        EnableAddressFields(true);
        Load(file);
        EXPECT_EQ(ShownValues(), (Shown{"10.1.1.5", "255.255.0.0", "", "", "", ""}));
        EXPECT_TRUE(AddressFieldsEnabled()) << "the dhcp line past the limit was read";
    });
}

TEST_F(ConfigFileTest, AFileThatCannotBeOpenedIsReportedWithItsCause) {
    struct Case {
        const char* name;
        void (*command)();
        QString path;
        const char* message;
    } const cases[] = {
        {"load, no such file", OnLoadFromFile, PathOf("missing.txt"), "File could not be opened: 2"},
        {"load, no such folder", OnLoadFromFile, PathOf("missing/TQ7_config.txt"),
         "File could not be opened: 3"},
        {"save, no such folder", OnSaveToFile, PathOf("missing/TQ7_config.txt"),
         "File could not be opened: 3"},
        {"save onto a folder", OnSaveToFile, m_dir.path(), "File could not be opened: 5"},
    };
    WithWindow([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            g_ipAddress.SetWindowText("10.1.1.5");
            g_cbDhcp.SetCurSel(settings::kDhcpOn);
            m_messages.clear();
            m_chosen = c.path;
            c.command();
            EXPECT_EQ(m_messages, QStringList{c.message});
            EXPECT_EQ(ShownValues(), (Shown{"10.1.1.5", "", "", "On", "auto", "Local configuration"}));
        }
    });
}

TEST_F(ConfigFileTest, CancellingEitherDialogDoesNothing) {
    WithWindow([&] {
        g_ipAddress.SetWindowText("10.1.1.5");
        g_cbDhcp.SetCurSel(settings::kDhcpOn);
        const Shown before = ShownValues();
        m_chosen.reset();
        OnSaveToFile();
        OnLoadFromFile();
        EXPECT_EQ(m_asked.size(), 2);
        EXPECT_EQ(ShownValues(), before);
    });
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty()) << "a file was written";
}

}  // namespace
