#include "platform/ui/dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <atomic>
#include <thread>

#include "platform/time.h"
#include "platform/ui/controls.h"
#include "platform/ui/seams.h"
#include "tests/support/modal.h"

namespace {

using namespace platform::ui;
using resources::ControlKind;
using testsupport::RunModal;

constexpr resources::ControlTemplate kControls[] = {
    {10, ControlKind::Static, "label", 5, 5, 60, 8},
    {11, ControlKind::Edit, "", 5, 15, 60, 12, resources::kBorder},
    {20, ControlKind::RadioButton, "first", 5, 30, 60, 10, resources::kGroupStart},
    {21, ControlKind::RadioButton, "second", 5, 40, 60, 10},
    {22, ControlKind::RadioButton, "other group", 5, 50, 60, 10, resources::kGroupStart},
    {30, ControlKind::ComboBox, "", 70, 5, 60, 40, resources::kSorted},
    {40, ControlKind::PushButton, "Act", 70, 30, 50, 14},
    {41, ControlKind::DefaultButton, "Go", 70, 50, 50, 14},
};
constexpr resources::DialogTemplate kTemplate{900, "Test", 150, 80, "MS Sans Serif", 8, resources::kPopup, kControls};

constexpr resources::ControlTemplate kPlainControls[] = {
    {1, ControlKind::PushButton, "OK", 5, 5, 50, 14},
};
constexpr resources::DialogTemplate kPlainTemplate{901, "Plain", 80, 40, "MS Sans Serif", 8, resources::kPopup,
                                                   kPlainControls};

// A dialog with a member per kind of exchange, and a record of the commands that reached it.
class TestDialog : public CDialog {
public:
    explicit TestDialog(const resources::DialogTemplate& t = kTemplate) : CDialog(t) {
        OnCommand(40, [this] { commands.push_back(40); });
        OnCommand(41, [this] { commands.push_back(41); });
    }
    void DoDataExchange(DataExchange& dx) override {
        dx.Control(30, combo);
        dx.Control(10, label);
        dx.Text(11, text);
        dx.MaxChars(11, text, 5);
        dx.Radio(20, mode);
    }
    void OnOK() override {
        commands.push_back(kIdOk);
        CDialog::OnOK();
    }
    void OnCancel() override {
        commands.push_back(kIdCancel);
        CDialog::OnCancel();
    }
    QString text = "abc";
    int mode = -1;
    CComboBox combo;
    CStatic label;
    std::vector<int> commands;
};

class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        ResetSeams();
        SetMessageBoxHandler([this](const QString& text, const QString&) {
            boxes.push_back(text);
            return kIdOk;
        });
    }
    ~DialogTest() override {
        ResetSeams();
        platform::SetTimeScale(1.0);
    }
    std::vector<QString> boxes;
};

template <typename W>
W* Item(CDialog& dialog, int id) {
    return qobject_cast<W*>(dialog.GetDlgItem(id));
}

TEST_F(DialogTest, DataExchangeGoesBothWays) {
    TestDialog dialog;
    RunModal(dialog, [&] {
        EXPECT_EQ(Item<QLineEdit>(dialog, 11)->text(), "abc");
        EXPECT_FALSE(Item<QRadioButton>(dialog, 20)->isChecked());
        EXPECT_FALSE(Item<QRadioButton>(dialog, 21)->isChecked());

        dialog.mode = 1;
        dialog.text = "xy";
        dialog.UpdateData(false);
        EXPECT_TRUE(Item<QRadioButton>(dialog, 21)->isChecked());
        EXPECT_EQ(Item<QLineEdit>(dialog, 11)->text(), "xy");

        Item<QRadioButton>(dialog, 20)->click();
        Item<QRadioButton>(dialog, 22)->click();  // another group: the first stays checked
        Item<QLineEdit>(dialog, 11)->setText("typed");
        EXPECT_TRUE(dialog.UpdateData(true));
        EXPECT_EQ(dialog.mode, 0);
        EXPECT_EQ(dialog.text, "typed");

        dialog.mode = -1;  // no radio: every button of the group off
        dialog.UpdateData(false);
        EXPECT_FALSE(Item<QRadioButton>(dialog, 20)->isChecked());
        EXPECT_FALSE(Item<QRadioButton>(dialog, 21)->isChecked());
        EXPECT_TRUE(Item<QRadioButton>(dialog, 22)->isChecked());
        dialog.EndDialog(5);
    });
}

TEST_F(DialogTest, TextLimitsHoldBothWays) {
    TestDialog dialog;
    RunModal(dialog, [&] {
        auto* edit = Item<QLineEdit>(dialog, 11);
        EXPECT_EQ(edit->maxLength(), 5);
        edit->setMaxLength(100);  // as if more came in by another way
        edit->setText("toolong");
        EXPECT_FALSE(dialog.UpdateData(true));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], "Enter no more than 5 characters.");
        dialog.EndDialog(0);
    });
}

TEST_F(DialogTest, EnterReachesTheDefaultButtonOrTheFocusedOneAndEscapeReachesCancel) {
    TestDialog dialog;
    const int result = RunModal(dialog, [&] {
        QWidget* window = dialog.Window();
        Item<QLineEdit>(dialog, 11)->setFocus();
        QTest::keyClick(window, Qt::Key_Return);
        Item<QPushButton>(dialog, 40)->setFocus();
        QTest::keyClick(window, Qt::Key_Return);
        Item<QPushButton>(dialog, 41)->setEnabled(false);
        Item<QLineEdit>(dialog, 11)->setFocus();
        QTest::keyClick(window, Qt::Key_Enter);  // a disabled default button takes nothing
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.commands, (std::vector<int>{41, 40, kIdCancel}));
    EXPECT_EQ(result, kIdCancel);
}

TEST_F(DialogTest, EnterWithoutADefaultButtonIsOkAndOkSavesTheMembers) {
    TestDialog dialog(kPlainTemplate);
    const int result = RunModal(dialog, [&] { QTest::keyClick(dialog.Window(), Qt::Key_Return); });
    EXPECT_EQ(dialog.commands, (std::vector<int>{kIdOk}));
    EXPECT_EQ(result, kIdOk);
}

TEST_F(DialogTest, TheCloseBoxAsksForCancel) {
    TestDialog dialog;
    const int result = RunModal(dialog, [&] { dialog.Window()->close(); });
    EXPECT_EQ(dialog.commands, (std::vector<int>{kIdCancel}));
    EXPECT_EQ(result, kIdCancel);
}

// While a handler of the window below runs a modal dialog, that window takes no Escape and no
// close request: cancelling it would pull the window away from under the running handler.
TEST_F(DialogTest, AWindowUnderAModalDialogTakesNoEscapeAndNoCloseRequest) {
    TestDialog below;
    TestDialog above(kPlainTemplate);
    std::vector<int> belowDuringAbove;
    const int result = RunModal(below, [&] {
        RunModal(above, [&] {
            QTest::keyClick(below.Window(), Qt::Key_Escape);
            below.Window()->close();
            testsupport::ProcessEventsUntil([] { return false; }, 50);
            belowDuringAbove = below.commands;
            EXPECT_TRUE(below.Window()->isVisible());
            above.EndDialog(0);
        });
        QTest::keyClick(below.Window(), Qt::Key_Escape);  // its own again
    });
    EXPECT_TRUE(belowDuringAbove.empty()) << belowDuringAbove.size() << " commands reached the window below";
    EXPECT_EQ(below.commands, (std::vector<int>{kIdCancel}));
    EXPECT_EQ(result, kIdCancel);
}

TEST_F(DialogTest, AnEndAskedForByAWorkerIsNeverLost) {
    TestDialog dialog;
    for (const bool beforeTheLoop : {true, false}) {
        std::atomic<bool> loopRunning{false};
        std::thread worker;
        if (beforeTheLoop) {
            worker = std::thread([&] { dialog.EndDialog(7); });
            worker.join();  // ended before the window even exists
        }
        const int result = RunModal(dialog, [&] {
            loopRunning = true;
            if (!beforeTheLoop) worker = std::thread([&] { dialog.EndDialog(8); });
        });
        if (worker.joinable()) worker.join();  // only after the loop it ended has returned
        EXPECT_EQ(result, beforeTheLoop ? 7 : 8);
        // An early end may close the dialog before anything else gets to run in its loop.
        if (!beforeTheLoop) {
            EXPECT_TRUE(loopRunning);
        }
    }
    // The end was used up: the next showing runs until it is ended again.
    bool stillOpen = false;
    RunModal(dialog, [&] {
        stillOpen = testsupport::ProcessEventsUntil([] { return false; }, 100) == false && dialog.Window()->isVisible();
        dialog.EndDialog(1);
    });
    EXPECT_TRUE(stillOpen);
}

TEST_F(DialogTest, AWorkersControlCallsRunOnTheUiThreadWhileItWaits) {
    TestDialog dialog;
    RunModal(dialog, [&] {
        std::thread worker([&] {
            dialog.label.SetWindowText("from the worker");
            dialog.combo.AddString("b-entry");
            dialog.combo.AddString("a-entry");
            dialog.combo.SetCurSel(0);
            EXPECT_EQ(dialog.combo.GetWindowText(), "a-entry");  // read back at once: the call has happened
            EXPECT_EQ(MessageBox("from the worker"), kIdOk);
            dialog.EndDialog(3);
        });
        testsupport::ProcessEventsUntil([&] { return !dialog.Window()->isVisible(); });
        worker.join();
    });
    EXPECT_EQ(boxes, (std::vector<QString>{"from the worker"}));
    EXPECT_FALSE(dialog.label.IsAttached());  // the window is gone, and with it the widget
    dialog.label.SetWindowText("nobody there");  // harmless
}

TEST_F(DialogTest, PostedMessagesAndTimersReachTheirHandlers) {
    class Receiver : public TestDialog {
    public:
        Receiver() {
            OnMessage(platform::kWmApp + 2, [this](std::uintptr_t first, std::intptr_t second) {
                received.emplace_back(first, second);
            });
        }
        void OnTimer(int id) override {
            if (id == 4 && ++ticks == 3) EndDialog(0);
        }
        std::vector<std::pair<std::uintptr_t, std::intptr_t>> received;
        int ticks = 0;
    } dialog;
    platform::SetTimeScale(0.01);
    RunModal(dialog, [&] {
        const platform::WindowHandle handle = dialog.GetSafeHwnd();
        EXPECT_TRUE(platform::IsWindow(handle));
        std::thread([handle] { platform::PostMessage(handle, platform::kWmApp + 2, 0, 42); }).join();
        dialog.SetTimer(4, 1000);
    });
    EXPECT_EQ(dialog.received, (std::vector<std::pair<std::uintptr_t, std::intptr_t>>{{0, 42}}));
    EXPECT_EQ(dialog.ticks, 3);
    EXPECT_FALSE(platform::IsWindow(dialog.GetSafeHwnd()));
}

TEST_F(DialogTest, ComboBoxKeepsItsSelectedPositionApartFromItsShownText) {
    TestDialog dialog;
    RunModal(dialog, [&] {
        CComboBox& combo = dialog.combo;
        combo.AddString("9600 bit/s");
        combo.AddString("300 bit/s");
        EXPECT_EQ(combo.GetCurSel(), -1);  // adding selects nothing
        EXPECT_EQ(combo.SetCurSel(1), 1);
        EXPECT_EQ(combo.GetWindowText(), "9600 bit/s");
        QTest::keyClicks(Item<QComboBox>(dialog, 30)->lineEdit(), "0");
        EXPECT_EQ(combo.GetCurSel(), -1);  // typed: no entry is selected any more
        EXPECT_EQ(combo.GetWindowText(), "9600 bit/s0");
        // A text the program writes is no choice either, though another entry carries it.
        combo.SetCurSel(1);
        combo.SetWindowText("300 bit/s");
        EXPECT_EQ(combo.GetCurSel(), -1);
        EXPECT_EQ(combo.GetWindowText(), "300 bit/s");
        EXPECT_EQ(combo.FindStringExact("300 bit/s"), 0);
        EXPECT_EQ(combo.DeleteString(0), 1);
        EXPECT_EQ(combo.DeleteString(5), -1);
        combo.SetCurSel(-1);
        EXPECT_EQ(combo.GetWindowText(), "");
        dialog.EndDialog(0);
    });
}

}  // namespace
