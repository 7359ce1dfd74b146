#include "lan_dialogs/config_ip.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <optional>

#include "platform/ui/ip_address_field.h"
#include "tests/lan_dialogs/lan_dialog_fixture.h"
#include "tests/support/modal.h"

namespace landialogs {
namespace {

using platform::ui::IpAddressField;
using testsupport::RunModal;

constexpr int kIpAddress = 1022;
constexpr int kSubnetMask = 1023;
constexpr int kGateway = 1024;
constexpr int kPassword = 1027;
constexpr int kName = 1028;
constexpr int kMac = 1029;
constexpr int kDhcpRadio = 1037;
constexpr int kManualRadio = 1038;

// The three address fields as the user reads them, IP address first.
QStringList Addresses(const CConfigIP& dialog) {
    return {Item<IpAddressField>(dialog, kIpAddress)->Text(), Item<IpAddressField>(dialog, kSubnetMask)->Text(),
            Item<IpAddressField>(dialog, kGateway)->Text()};
}

void TypePassword(const CConfigIP& dialog, const char* password) {
    Item<QLineEdit>(dialog, kPassword)->setText(QString::fromUtf8(password));
}

void Apply(const CConfigIP& dialog) { Item<QPushButton>(dialog, platform::ui::kIdOk)->click(); }

using ConfigIPOpening = DialogTest;

TEST_F(ConfigIPOpening, TheRecordsDhcpFlagChoosesTheModeAndTheFieldsShowItsAddresses) {
    struct Case {
        std::uint8_t dhcpEnabled;
        bool dhcpMode;
    };
    // Only the value 1 means DHCP; a reply without the field leaves the record's 0.
    for (const Case c : {Case{1, true}, Case{0, false}, Case{2, false}}) {
        SCOPED_TRACE(testing::Message() << "dhcpEnabled " << int(c.dhcpEnabled));
        AddpDevice record = RecordOf(Converter());
        record.dhcpEnabled = c.dhcpEnabled;
        CConfigIP dialog;
        dialog.m_pDevice = &record;
        RunModal(dialog, [&] {
            EXPECT_EQ(Item<QRadioButton>(dialog, kDhcpRadio)->isChecked(), c.dhcpMode);
            EXPECT_EQ(Item<QRadioButton>(dialog, kManualRadio)->isChecked(), !c.dhcpMode);
            for (const int field : {kIpAddress, kSubnetMask, kGateway})
                EXPECT_EQ(Item<IpAddressField>(dialog, field)->isEnabled(), !c.dhcpMode) << "field " << field;
            EXPECT_EQ(Addresses(dialog), (QStringList{"10.77.1.50", "255.255.255.0", "10.77.1.254"}));
            dialog.EndDialog(platform::ui::kIdCancel);
        });
    }
}

TEST_F(ConfigIPOpening, ShowsTheModelAsTheUserKnowsItAndTheMacInLowerCase) {
    struct Case {
        const char* modelName;
        const char* shown;
    };
    for (const Case c : {Case{"Digi Connect ME", "TQ7 Converter"}, Case{"Digi Connect ME ", "Digi Connect ME "},
                         Case{"Other Module", "Other Module"}}) {
        SCOPED_TRACE(c.modelName);
        sim::ModuleDescription module = Converter();
        module.modelName = c.modelName;
        AddpDevice record = RecordOf(module);
        CConfigIP dialog;
        dialog.m_pDevice = &record;
        RunModal(dialog, [&] {
            EXPECT_EQ(Item<QLabel>(dialog, kName)->text(), c.shown);
            EXPECT_EQ(Item<QLabel>(dialog, kMac)->text(), "0a:1b:2c:3d:4e:5f");
            dialog.EndDialog(platform::ui::kIdCancel);
        });
        // The row's record keeps the shown name, for every later dialog and the list alike.
        EXPECT_STREQ(record.modelName, c.shown);
    }
}

using ConfigIPApply = LanDialogTest;

TEST_F(ConfigIPApply, DhcpModeSendsOnlyDhcpOnWhateverTheFieldsHoldAndClosesSilently) {
    StartConverter(Converter());
    AddpDevice record = RecordOf(Converter());
    record.dhcpEnabled = 1;
    CConfigIP dialog;
    dialog.m_pDevice = &record;
    const int result = RunModal(dialog, [&] {
        // Disabled fields can still be changed by the program; what they hold must not go out.
        Item<IpAddressField>(dialog, kIpAddress)->SetText("1.2.3.4");
        TypePassword(dialog, "dbps");
        Apply(dialog);
    });
    EXPECT_EQ(result, platform::ui::kIdOk);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].type, 7);
    EXPECT_EQ(requests[0].dhcpFlag, 1);
    EXPECT_EQ(requests[0].password, "dbps");
    EXPECT_TRUE(simulator->Description(0).dhcpEnabled);
    EXPECT_EQ(simulator->Description(0).ipAddress, Ip("10.77.1.50"));
}

TEST_F(ConfigIPApply, ManualModeSendsTheTypedAddressesWithABlankGatewayAsZero) {
    StartConverter(Converter());
    AddpDevice record = RecordOf(Converter());
    CConfigIP dialog;
    dialog.m_pDevice = &record;
    const int result = RunModal(dialog, [&] {
        Item<IpAddressField>(dialog, kIpAddress)->SetText("10.77.2.9");
        Item<IpAddressField>(dialog, kSubnetMask)->SetText("255.255.0.0");
        Item<IpAddressField>(dialog, kGateway)->ClearAddress();
        TypePassword(dialog, "dbps");
        Apply(dialog);
    });
    EXPECT_EQ(result, platform::ui::kIdOk);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].type, 3);
    EXPECT_EQ(requests[0].target, Converter().mac);
    EXPECT_EQ(requests[0].ipAddress, Ip("10.77.2.9"));
    EXPECT_EQ(requests[0].subnetMask, Ip("255.255.0.0"));
    EXPECT_EQ(requests[0].gateway, 0u);
    EXPECT_EQ(simulator->Description(0).ipAddress, Ip("10.77.2.9"));
}

sim::ModuleDescription RefusingWithoutACode(const char* text) {
    sim::ModuleDescription module = Converter();
    module.outcomeMode = sim::OutcomeMode::Forced;
    module.forcedOutcome = {.resultFlag = 1, .errorCode = 0, .message = text};
    return module;
}

TEST_F(ConfigIPApply, AFailureKeepsTheDialogOpenWithWhatTheUserTyped) {
    struct Case {
        const char* what;
        sim::ModuleDescription module;
        sim::Faults faults;
        QString box;
    };
    const Case cases[] = {
        {"wrong password", Converter(), {},
         "An Error occured while setting the converter.\nError Number: 1\nError Message: Invalid password\n"},
        // The engine gives -1 and keeps "Operation Successful": silence must not read as success.
        {"no answer", Converter(), {.silent = true}, "The converter did not answer."},
        // Error code 0 with the result flag set is a refusal all the same; its text comes in
        // single bytes, as the converter sends them (0xE9 is "é").
        {"refused without an error code", RefusingWithoutACode("Occup\xe9"), {},
         QString::fromUtf8("The converter refused the request.\nOccup\u00e9")},
        {"refused without code or text", RefusingWithoutACode(""), {}, "The converter refused the request."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::SetTimeScale(c.faults.silent ? 0.01 : 1.0);
        StartConverter(c.module, c.faults);
        boxes.clear();
        AddpDevice record = RecordOf(c.module);
        CConfigIP dialog;
        dialog.m_pDevice = &record;
        const int result = RunModal(dialog, [&] {
            Item<IpAddressField>(dialog, kIpAddress)->SetText("10.77.2.9");
            TypePassword(dialog, "nope");
            Apply(dialog);
            EXPECT_TRUE(dialog.Window()->isVisible());
            EXPECT_EQ(Item<IpAddressField>(dialog, kIpAddress)->Text(), "10.77.2.9");
            EXPECT_EQ(Item<QLineEdit>(dialog, kPassword)->text(), "nope");
            dialog.EndDialog(platform::ui::kIdCancel);
        });
        EXPECT_EQ(result, platform::ui::kIdCancel);
        EXPECT_EQ(boxes, QStringList{c.box});
        EXPECT_EQ(captions, QStringList{"TQ7Config"});
        captions.clear();
        EXPECT_EQ(simulator->Description(0).ipAddress, Ip("10.77.1.50"));
    }
}

// The converter's words reach the real message box as they are: markup from any host on the LAN
// is shown as text, never rendered.
TEST_F(ConfigIPApply, TheConvertersTextIsShownAsPlainText) {
    WithRealDeadline();
    StartConverter(RefusingWithoutACode("<h1>x</h1>"));
    platform::ui::SetMessageBoxHandler({});
    AddpDevice record = RecordOf(Converter());
    CConfigIP dialog;
    dialog.m_pDevice = &record;
    std::optional<Qt::TextFormat> format;
    QString shown;
    QTimer whenTheBoxShows;
    whenTheBoxShows.setInterval(0);
    QObject::connect(&whenTheBoxShows, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        whenTheBoxShows.stop();
        format = box->textFormat();
        shown = box->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    RunModal(dialog, [&] {
        whenTheBoxShows.start();
        Apply(dialog);
        dialog.EndDialog(platform::ui::kIdCancel);
    });
    EXPECT_EQ(shown, "The converter refused the request.\n<h1>x</h1>");
    EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(ConfigIPApply, ARadioClickPutsBackTheRecordsAddressesAndTheLastAppliedPassword) {
    StartConverter(Converter());
    AddpDevice record = RecordOf(Converter());
    CConfigIP dialog;
    dialog.m_pDevice = &record;
    RunModal(dialog, [&] {
        Item<IpAddressField>(dialog, kGateway)->SetText("9.9.9.9");
        TypePassword(dialog, "typed");
        Item<QRadioButton>(dialog, kManualRadio)->click();
        EXPECT_EQ(Addresses(dialog), (QStringList{"10.77.1.50", "255.255.255.0", "10.77.1.254"}));
        EXPECT_EQ(Item<QLineEdit>(dialog, kPassword)->text(), "") << "nothing was applied yet";

        TypePassword(dialog, "nope");
        Apply(dialog);  // refused: the password is now the one last taken in
        TypePassword(dialog, "typed again");
        Item<QRadioButton>(dialog, kDhcpRadio)->click();
        EXPECT_EQ(Item<QLineEdit>(dialog, kPassword)->text(), "nope");
        EXPECT_FALSE(Item<IpAddressField>(dialog, kIpAddress)->isEnabled());
        dialog.EndDialog(platform::ui::kIdCancel);
    });
}

}  // namespace
}  // namespace landialogs
