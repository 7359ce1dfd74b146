#include "app/finder_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

#include "app/simulation.h"
#include "platform/message_queue.h"
#include "platform/time.h"
#include "platform/ui/list_ctrl.h"
#include "platform/ui/seams.h"
#include "sim/lan_simulator.h"
#include "tests/support/modal.h"
#include "tests/support/network_namespace.h"

namespace {

using testsupport::ProcessEventsUntil;
using testsupport::RunModal;

sim::ModuleDescription Converter(std::uint8_t last, const char* name) {
    sim::ModuleDescription module;
    module.mac = {0x0a, 0x1b, 0x2c, 0x3d, 0x4e, last};
    module.ipAddress = *sim::ParseIpv4("192.0.2.50");
    module.subnetMask = *sim::ParseIpv4("255.255.255.0");
    module.name = name;
    module.modelName = "Digi Connect ME";
    module.firmware = "82000856_F";
    module.password = "dbps";
    return module;
}

class FinderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!testsupport::OnlyLoopbackReachable(why)) GTEST_SKIP() << why;
        platform::SetTimeScale(0.1);
        platform::ui::ResetSeams();
        platform::ui::SetMessageBoxHandler([this](const QString& text, const QString&) {
            boxes.push_back(text);
            return platform::ui::kIdOk;
        });
        platform::ui::SetUrlHandler([this](const QString& url) { urls.push_back(url); });
        simulator = std::make_unique<sim::LanSimulator>(sim::LanSimulatorOptions{.interfaces = {*sim::ParseIpv4("127.0.0.1")}});
    }
    void TearDown() override {
        platform::ui::ResetSeams();
        platform::SetTimeScale(1.0);
        AddpUseLoopbackOnly(false);
    }
    void StartSimulator() {
        std::string error;
        ASSERT_TRUE(simulator->Start(&error)) << error;
    }

    // The window's list, as the user sees it.
    QTreeWidget* List() { return qobject_cast<QTreeWidget*>(window.GetDlgItem(1021)); }
    QStringList Row(int row) {
        QStringList texts;
        const QTreeWidgetItem* item = List()->topLevelItem(row);
        for (int column = 0; item != nullptr && column < 4; ++column) texts << item->text(column);
        return texts;
    }
    AddpDevice* Record(int row) {
        platform::ui::CListCtrl list;
        list.Attach(List());
        return reinterpret_cast<AddpDevice*>(list.GetItemData(row));
    }
    void Click(int id) { qobject_cast<QPushButton*>(window.GetDlgItem(id))->click(); }

    std::unique_ptr<sim::LanSimulator> simulator;
    CFinderDlg window;
    std::vector<QString> boxes;
    std::vector<QString> urls;
};

TEST_F(FinderWindow, ShowsSearchingThenOneRowPerReplyWithRowZeroSelected) {
    simulator->AddModule(Converter(0x5f, "bench-1"));
    simulator->AddModule(Converter(0x60, "bench-2"), {.delay = std::chrono::seconds(2)});  // a later cycle
    StartSimulator();
    RunModal(window, [&] {
        EXPECT_EQ(Row(0), QStringList({"Searching...", "", "", ""}));
        ASSERT_TRUE(ProcessEventsUntil([&] { return List()->topLevelItemCount() == 1 && Row(0)[0] != "Searching..."; }));
        EXPECT_EQ(Row(0), QStringList({"192.0.2.50", "0a:1b:2c:3d:4e:5f", "bench-1", "TQ7 Converter"}));
        EXPECT_TRUE(List()->topLevelItem(0)->isSelected());
        EXPECT_STREQ(Record(0)->modelName, "Digi Connect ME");  // only the shown text changes

        List()->clearSelection();
        ASSERT_TRUE(ProcessEventsUntil([&] { return List()->topLevelItemCount() == 2; }));
        EXPECT_EQ(Row(1)[2], "bench-2");  // appended in the order collected
        EXPECT_TRUE(List()->topLevelItem(0)->isSelected());  // each notification selects row 0 again
        window.EndDialog(0);
    });
    EXPECT_TRUE(boxes.empty());
}

// A converter's name is single bytes, as it sent them: 0xE9 is "é".
TEST_F(FinderWindow, ShowsTheNameAsLatin1) {
    simulator->AddModule(Converter(1, "caf\xe9 \xa7"));
    StartSimulator();
    RunModal(window, [&] {
        ASSERT_TRUE(ProcessEventsUntil([&] { return Record(0) != nullptr; }));
        EXPECT_EQ(Row(0)[2], QString::fromUtf8("caf\u00e9 \u00a7"));
        window.EndDialog(0);
    });
}

// The window on a host as a user's machine is: its name maps to 127.0.1.1, and it has a link to
// a LAN. The test's thread works on the host's network, and so does the engine the window starts.
class FinderWindowOnALink : public FinderWindow {
protected:
    void SetUp() override {
        FinderWindow::SetUp();
        if (IsSkipped()) return;
        std::string why;
        if (!testsupport::NamespacesAvailable(why)) GTEST_SKIP() << why;
        desk = std::make_unique<testsupport::NetworkNamespace>();
        lan = std::make_unique<testsupport::NetworkNamespace>();
        desk->ConnectTo(*lan, "10.77.1.1/24", "10.77.1.2/24");
        atTheDesk = std::make_unique<testsupport::NetworkNamespace::Entered>(desk->Name());
    }
    void TearDown() override {
        atTheDesk.reset();
        FinderWindow::TearDown();
    }

    std::unique_ptr<testsupport::NetworkNamespace> desk;
    std::unique_ptr<testsupport::NetworkNamespace> lan;
    std::unique_ptr<testsupport::NetworkNamespace::Entered> atTheDesk;
};

TEST_F(FinderWindowOnALink, FindsTheConverterBeyondTheLink) {
    std::unique_ptr<sim::LanSimulator> beyond;
    {
        const auto onTheLan = lan->Enter();
        beyond = std::make_unique<sim::LanSimulator>(sim::LanSimulatorOptions{.interfaces = {*sim::ParseIpv4("10.77.1.2")}});
        beyond->AddModule(Converter(0x5f, "bench-1"));
        std::string error;
        ASSERT_TRUE(beyond->Start(&error)) << error;
    }
    RunModal(window, [&] {
        ASSERT_TRUE(ProcessEventsUntil([&] { return Record(0) != nullptr; }));
        EXPECT_EQ(Row(0), QStringList({"192.0.2.50", "0a:1b:2c:3d:4e:5f", "bench-1", "TQ7 Converter"}));
        EXPECT_EQ(Record(0)->localAddress, *sim::ParseIpv4("10.77.1.1"));
        window.EndDialog(0);
    });
}

// With the simulated converter the window searches this computer only, and finds it there though
// the host has a link; over that link nobody reaches it.
TEST_F(FinderWindowOnALink, WithTheSimulatedConverterSearchesThisComputerOnly) {
    Simulation simulation;
    QString error;
    ASSERT_TRUE(simulation.Start(error)) << error.toStdString();
    RunModal(window, [&] {
        ASSERT_TRUE(ProcessEventsUntil([&] { return Record(0) != nullptr; }));
        EXPECT_EQ(Row(0)[2], "TQ7-desk");
        EXPECT_EQ(Record(0)->localAddress, *sim::ParseIpv4("127.0.0.1"));
        window.EndDialog(0);
    });

    AddpUseLoopbackOnly(false);
    const auto onTheLan = lan->Enter();
    const AddpHandle other = AddpOpen(kAddpMagicDigi);
    const std::uint8_t demo[6] = {0x00, 0x40, 0x9d, 0x54, 0x51, 0x37};
    AddpDevice device{};
    EXPECT_EQ(AddpQueryDevice(other, demo, &device), -1);
    AddpClose(other);
}

TEST_F(FinderWindow, CommandsNeedAConverterRow) {
    simulator->AddModule(Converter(1, "quiet"), {.silent = true});
    StartSimulator();
    RunModal(window, [&] {
        List()->topLevelItem(0)->setSelected(true);  // the "Searching..." row carries no converter
        for (const int command : {1001, 1002, 1006, 1005}) Click(command);
        window.EndDialog(0);
    });
    EXPECT_EQ(boxes, std::vector<QString>(4, "No TQ7 was selected on list !"));
    EXPECT_TRUE(urls.empty());
}

TEST_F(FinderWindow, RefreshWhileSearchingLeavesOneSearchingRowAndOneRun) {
    simulator->AddModule(Converter(1, "quiet"), {.silent = true});
    StartSimulator();
    RunModal(window, [&] {
        Click(1003);
        Click(1003);
        ASSERT_TRUE(ProcessEventsUntil([&] { return simulator->Received().size() >= 2; }));
        ProcessEventsUntil([] { return false; }, 200);
        EXPECT_EQ(List()->topLevelItemCount(), 1);
        EXPECT_EQ(Row(0)[0], "Searching...");
        platform::MessageQueue other;
        EXPECT_EQ(AddpStartDiscovery(window.Engine(), other.Handle(), 0x8002, 0), -1);  // one run is going
        window.EndDialog(0);
    });
}

TEST_F(FinderWindow, ANotificationWithNothingWaitingShowsThatNothingWasFound) {
    simulator->AddModule(Converter(1, "quiet"), {.silent = true});
    StartSimulator();
    RunModal(window, [&] {
        ASSERT_TRUE(ProcessEventsUntil([&] { return !simulator->Received().empty(); }));
        platform::PostMessage(window.GetSafeHwnd(), CFinderDlg::kCollectMessage, 0, 0);
        ASSERT_TRUE(ProcessEventsUntil([&] { return Row(0)[0] != "Searching..."; }));
        EXPECT_EQ(List()->topLevelItemCount(), 1);
        EXPECT_EQ(Row(0)[0], QString::fromUtf8("Nie znaleziono urz\u0105dze\u0144"));
        Click(1006);
        window.EndDialog(0);
    });
    EXPECT_EQ(boxes, (std::vector<QString>{"No TQ7 was selected on list !"}));
}

TEST_F(FinderWindow, OpensTheWebInterfaceAndTheDialogsOnTheSelectedRecord) {
    simulator->AddModule(Converter(0x5f, "bench-1"));
    StartSimulator();
    RunModal(window, [&] {
        ASSERT_TRUE(ProcessEventsUntil([&] { return Record(0) != nullptr; }));
        Click(1001);
        EXPECT_EQ(urls, (std::vector<QString>{"http://192.0.2.50"}));

        // The information dialog runs modally over the window; close it once it shows.
        QTimer::singleShot(0, [] {
            ASSERT_TRUE(ProcessEventsUntil([] { return QApplication::activeModalWidget() != nullptr; }));
            QApplication::activeModalWidget()->close();
        });
        const QWidget* main = window.Window();
        Click(1006);
        EXPECT_EQ(QApplication::activeModalWidget(), main);
        EXPECT_STREQ(Record(0)->modelName, "TQ7 Converter");  // the dialog applied the rule to the record
        window.EndDialog(0);
    });
}

TEST_F(FinderWindow, ClosingStopsTheRunAndReleasesTheEngine) {
    simulator->AddModule(Converter(0x5f, "bench-1"));
    StartSimulator();
    AddpHandle engine = nullptr;
    const int result = RunModal(window, [&] {
        engine = window.Engine();
        ASSERT_TRUE(ProcessEventsUntil([&] { return Record(0) != nullptr; }));
        window.Window()->close();
    });
    EXPECT_EQ(result, platform::ui::kIdCancel);
    EXPECT_EQ(AddpGetLastError(engine), -1);  // closed; the rows' records went with the rows
    EXPECT_EQ(window.Engine(), nullptr);
}

}  // namespace
