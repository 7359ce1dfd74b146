#include "lan_dialogs/reboot.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <thread>

#include "tests/lan_dialogs/lan_dialog_fixture.h"
#include "tests/support/modal.h"

namespace landialogs {
namespace {

using namespace std::chrono_literals;
using testsupport::RunModal;

constexpr int kStatus = 1032;
constexpr int kPassword = 1034;
constexpr int kName = 1035;
constexpr int kMac = 1036;
constexpr int kRebootButton = 1043;

class RebootDialog : public LanDialogTest {
protected:
    // Opens the dialog on the converter's record, types the password, presses Reboot and closes
    // the dialog; returns the status line as it was then.
    QString Reboot(const char* password, bool pressEnter = false) {
        AddpDevice record = RecordOf(Converter());
        CReboot dialog;
        dialog.m_pDevice = &record;
        QString status;
        RunModal(dialog, [&] {
            EXPECT_EQ(Item<QLabel>(dialog, kStatus)->text(), "") << "the template's placeholder is gone";
            QLineEdit* box = Item<QLineEdit>(dialog, kPassword);
            box->setText(QString::fromUtf8(password));
            if (pressEnter) {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                Item<QPushButton>(dialog, kRebootButton)->click();
            }
            EXPECT_TRUE(dialog.Window()->isVisible()) << "the dialog stays open whatever the outcome";
            status = Item<QLabel>(dialog, kStatus)->text();
            dialog.EndDialog(platform::ui::kIdOk);
        });
        return status;
    }

    std::size_t Polls() const {
        const auto requests = Requests();
        return static_cast<std::size_t>(
            std::count_if(requests.begin(), requests.end(), [](const sim::Request& r) { return r.type == 1; }));
    }
};

TEST_F(RebootDialog, OpensWithTheModelNameTheMacAndAnEmptyStatusLine) {
    AddpDevice record = RecordOf(Converter());
    CReboot dialog;
    dialog.m_pDevice = &record;
    RunModal(dialog, [&] {
        EXPECT_EQ(Item<QLabel>(dialog, kName)->text(), "TQ7 Converter");
        EXPECT_EQ(Item<QLabel>(dialog, kMac)->text(), "0a:1b:2c:3d:4e:5f");
        EXPECT_EQ(Item<QLabel>(dialog, kStatus)->text(), "");
        dialog.EndDialog(platform::ui::kIdOk);
    });
    EXPECT_STREQ(record.modelName, "TQ7 Converter");
}

TEST_F(RebootDialog, AConverterStillAnsweringAfterTheRebootIsReadyAtTheFirstPoll) {
    StartConverter(Converter(), {}, 0s);
    EXPECT_EQ(Reboot("dbps", /*pressEnter=*/true), "Status: Ready") << "Enter reaches the default button, Reboot";
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].type, 5);
    EXPECT_EQ(requests[0].password, "dbps");
    EXPECT_EQ(requests[1].type, 1);
    EXPECT_EQ(requests[1].target, Converter().mac);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
}

TEST_F(RebootDialog, PollsUntilTheConverterIsBackOrFortyRetriesHaveFailed) {
    StartConverter(Converter(), {}, 1h);
    // The converter comes back once it has ignored the first poll and thirty-nine retries, so
    // only the last retry finds it.
    std::thread comeBack([this] {
        if (simulator->WaitForReceived(1 + 40, 60s)) simulator->EndRebootSilence(0);
    });
    EXPECT_EQ(Reboot("dbps"), "Status: Ready");
    comeBack.join();
    EXPECT_EQ(Polls(), 41u);

    StartConverter(Converter(), {}, 1h);
    EXPECT_EQ(Reboot("dbps"), "Status: Timed out");
    EXPECT_EQ(Polls(), 41u) << "one poll at once and forty retries";
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
}

TEST_F(RebootDialog, AFailedRequestIsShownLeavesTheStatusLineAndStartsNoPolling) {
    struct Case {
        const char* what;
        sim::ModuleDescription module;
        sim::Faults faults;
        QString box;
    };
    sim::ModuleDescription refusingWithText = Converter();
    refusingWithText.outcomeMode = sim::OutcomeMode::Forced;
    refusingWithText.forcedOutcome = {.resultFlag = 1, .errorCode = 0, .message = "Busy"};
    sim::ModuleDescription refusingSilently = refusingWithText;
    refusingSilently.forcedOutcome.message = "";
    const Case cases[] = {
        {"wrong password", Converter(), {},
         "An Error occured while rebooting the converter.\nError Number: 1\nError Message: Invalid password\n"},
        {"no answer", Converter(), {.silent = true}, "The converter did not answer."},
        {"refused without an error code", refusingWithText, {}, "The converter refused the request.\nBusy"},
        {"refused without code or text", refusingSilently, {}, "The converter refused the request."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        StartConverter(c.module, c.faults);
        EXPECT_EQ(Reboot("nope"), "");
        EXPECT_EQ(boxes, QStringList{c.box});
        EXPECT_EQ(simulator->Received().size(), 1u) << "the reboot request only";
    }
}

}  // namespace
}  // namespace landialogs
