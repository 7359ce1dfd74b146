#include "lan_dialogs/device_info.h"

#include <QLabel>
#include <QTest>

#include "tests/lan_dialogs/lan_dialog_fixture.h"
#include "tests/support/modal.h"

namespace landialogs {
namespace {

using testsupport::RunModal;

constexpr int kDetails = 1040;

using DeviceInfoDialog = DialogTest;

// The details text the dialog shows for the record.
QString DetailsOf(AddpDevice& record) {
    CDeviceInfo dialog;
    dialog.m_pDevice = &record;
    QString details;
    const int result = RunModal(dialog, [&] {
        details = Item<QLabel>(dialog, kDetails)->text();
        QTest::keyClick(dialog.Window(), Qt::Key_Escape);
    });
    EXPECT_EQ(result, platform::ui::kIdCancel) << "Esc cancels";
    return details;
}

TEST_F(DeviceInfoDialog, ShowsTheNineLinesOfTheRecord) {
    sim::ModuleDescription module = Converter();
    module.firmware = "82000856_F";
    AddpDevice record = RecordOf(module);
    record.dnsAddress = module.dnsAddress;
    std::strcpy(record.firmware, "82000856_F");
    record.realPortPort = 771;
    record.present |= AddpPresentDnsAddress | AddpPresentFirmware | AddpPresentRealPortPort;
    EXPECT_EQ(DetailsOf(record),
              "Name: TQ7 Converter\n"
              "MAC Address: 0a:1b:2c:3d:4e:5f\n"
              "IP Address: 10.77.1.50\n"
              "Subnet Mask: 255.255.255.0\n"
              "Gateway Address: 10.77.1.254\n"
              "DNS Address: 10.77.1.253\n"
              "DHCP Mode: Disabled\n"
              "Firmware Revision: 82000856_F\n"
              "RealPort Port: 771\n");
    EXPECT_STREQ(record.modelName, "TQ7 Converter");
}

TEST_F(DeviceInfoDialog, DhcpLineSaysWhatTheReplyCarried) {
    struct Case {
        bool carried;
        std::uint8_t value;
        const char* line;
    };
    for (const Case c : {Case{true, 1, "DHCP Mode: Enabled\n"}, Case{true, 0, "DHCP Mode: Disabled\n"},
                         Case{true, 2, "DHCP Mode: Disabled\n"}, Case{false, 1, "DHCP Mode: N/A\n"}}) {
        SCOPED_TRACE(c.line);
        AddpDevice record = RecordOf(Converter());
        record.dhcpEnabled = c.value;
        if (!c.carried) record.present &= ~AddpPresentDhcpEnabled;
        EXPECT_TRUE(DetailsOf(record).contains(c.line));
    }
}

// The converter's texts are single bytes, as it sent them: 0xE9 is "é".
TEST_F(DeviceInfoDialog, ShowsTheConvertersTextsAsLatin1) {
    AddpDevice record = RecordOf(Converter());
    std::strcpy(record.modelName, "Passerelle \xe9t\xe9");
    std::strcpy(record.firmware, "r\xe9v 2\xb7");
    const QString details = DetailsOf(record);
    EXPECT_TRUE(details.startsWith(QString::fromUtf8("Name: Passerelle \u00e9t\u00e9\n"))) << details.toStdString();
    EXPECT_TRUE(details.contains(QString::fromUtf8("Firmware Revision: r\u00e9v 2\u00b7\n"))) << details.toStdString();
}

TEST_F(DeviceInfoDialog, FieldsTheReplyLackedShowAsTheZeroedRecordHoldsThem) {
    AddpDevice record{};
    record.present = AddpPresentMac;
    std::strcpy(record.modelName, "Other Module");
    EXPECT_EQ(DetailsOf(record),
              "Name: Other Module\n"
              "MAC Address: 00:00:00:00:00:00\n"
              "IP Address: 0.0.0.0\n"
              "Subnet Mask: 0.0.0.0\n"
              "Gateway Address: 0.0.0.0\n"
              "DNS Address: 0.0.0.0\n"
              "DHCP Mode: N/A\n"
              "Firmware Revision: \n"
              "RealPort Port: 0\n");
}

}  // namespace
}  // namespace landialogs
