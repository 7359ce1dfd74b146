#include "lan_dialogs/progress.h"

#include <QDialog>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <thread>

#include "tests/lan_dialogs/lan_dialog_fixture.h"
#include "tests/support/modal.h"

namespace landialogs {
namespace {

using testsupport::ProcessEventsUntil;
using testsupport::RunModal;

constexpr int kBar = 1084;

class ProgressPanel : public DialogTest {
protected:
    void TearDown() override {
        g_dlgProgress.SetInterval(10);
        DialogTest::TearDown();
    }
    QProgressBar* Bar() { return Item<QProgressBar>(g_dlgProgress, kBar); }
};

TEST_F(ProgressPanel, EveryShowingStartsTheBarAgainAndAWorkerEndsIt) {
    g_dlgProgress.SetInterval(5);
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        std::thread worker;
        const int result = RunModal(g_dlgProgress, [&] {
            EXPECT_LE(Bar()->value(), 1) << "the bar starts near empty";
            EXPECT_EQ(Bar()->minimum(), 0);
            EXPECT_EQ(Bar()->maximum(), 100);
            EXPECT_TRUE(ProcessEventsUntil([&] { return g_nProgressTicks >= 20; }));
            EXPECT_GE(Bar()->value(), 10);
            worker = std::thread([] { g_dlgProgress.Finish(); });
        });
        worker.join();
        EXPECT_EQ(result, 1);
    }
}

TEST_F(ProgressPanel, ALongWaitLeavesTheBarFullAndThePanelUp) {
    g_dlgProgress.SetInterval(1);
    RunModal(g_dlgProgress, [&] {
        EXPECT_TRUE(ProcessEventsUntil([&] { return g_nProgressTicks > 150; }));
        EXPECT_EQ(Bar()->value(), 100);
        EXPECT_TRUE(g_dlgProgress.Window()->isVisible());
        g_dlgProgress.Finish();
    });
}

TEST_F(ProgressPanel, EscapeAndCloseRequestsLeaveItUpUntilTheWorkerFinishes) {
    std::thread worker;
    bool stayedUp = false;
    const int result = RunModal(g_dlgProgress, [&] {
        QDialog* panel = g_dlgProgress.Window();
        QTest::keyClick(panel, Qt::Key_Escape);
        QTest::keyClick(panel, Qt::Key_F4, Qt::AltModifier);
        panel->close();
        stayedUp = !ProcessEventsUntil([panel] { return !panel->isVisible(); }, 100);
        worker = std::thread([] { g_dlgProgress.Finish(); });
    });
    worker.join();
    EXPECT_TRUE(stayedUp);
    EXPECT_EQ(result, 1) << "ended by anything but Finish";
}

TEST_F(ProgressPanel, AnEndFromAWorkerThatFailedAtOnceIsNotLost) {
    g_dlgProgress.ExpectFinish();
    // The worker may be done before the panel's window exists.
    std::thread([] { g_dlgProgress.Finish(); }).join();
    QTimer fallback;  // ends a panel that would otherwise stay up for good
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { g_dlgProgress.EndDialog(-1); });
    fallback.start(2000);
    EXPECT_EQ(g_dlgProgress.DoModal(), 1) << "the end asked for early was lost";
}

// A second Finish from a worker whose showing is over must not cut the next worker's showing
// short.
TEST_F(ProgressPanel, AnEndMeantForAShowingThatIsOverEndsNoLaterOne) {
    g_dlgProgress.ExpectFinish();
    std::thread first([] { g_dlgProgress.Finish(); });
    EXPECT_EQ(g_dlgProgress.DoModal(), 1);
    first.join();
    std::thread([] { g_dlgProgress.Finish(); }).join();  // late, for the showing just over

    g_dlgProgress.ExpectFinish();
    bool upForTheNextWorker = false;
    std::thread next;
    RunModal(g_dlgProgress, [&] {
        upForTheNextWorker = !ProcessEventsUntil([] { return !g_dlgProgress.Window()->isVisible(); }, 100);
        next = std::thread([] { g_dlgProgress.Finish(); });
    });
    if (next.joinable()) next.join();
    EXPECT_TRUE(upForTheNextWorker) << "the late end closed the next showing";
}

}  // namespace
}  // namespace landialogs
