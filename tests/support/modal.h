#pragma once
// Driving a modal dialog from a test: what the user does happens once its loop runs, and a dialog
// that never ends fails the test instead of hanging it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "platform/ui/dialog.h"

namespace testsupport {

// Runs `whileOpen` inside the dialog's modal loop, then waits for the dialog to end; after the
// time limit the dialog is ended with -2 and the test fails.
inline int RunModal(platform::ui::CDialog& dialog, const std::function<void()>& whileOpen, int limitMs = 10000) {
    bool ended = false;
    // Ends with this call, and with it the timer below when the dialog ended before it fired.
    QObject context;
    // A timer event, not a posted one: posted events are not delivered again inside a posted event.
    QTimer::singleShot(1, &context, [&] { whileOpen(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (!ended) {
            ADD_FAILURE() << "the dialog did not end in time";
            dialog.EndDialog(-2);
        }
    });
    watchdog.start(limitMs);
    const int result = dialog.DoModal();
    ended = true;
    return result;
}

// Lets the UI thread's loop run until the condition holds or the limit passes.
inline bool ProcessEventsUntil(const std::function<bool()>& condition, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limitMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace testsupport
