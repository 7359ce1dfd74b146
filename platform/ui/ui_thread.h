#pragma once
// Widgets belong to the user-interface thread. A worker that changes a control hands the call
// over to that thread and waits for it; a call made on the UI thread itself runs at once (a
// blocking hand-over to oneself would never return).

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <mutex>
#include <type_traits>
#include <utility>

namespace platform::ui {

inline bool OnUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

template <typename F>
auto CallOnUiThread(F&& call) -> std::invoke_result_t<F&> {
    using Result = std::invoke_result_t<F&>;
    if (OnUiThread()) return call();
    // The blocking hand-over already orders the two threads; the lock states that order in a way
    // the thread sanitizer can see, since it does not look inside Qt's own synchronisation.
    std::mutex handOver;
    std::unique_lock caller(handOver);
    if constexpr (std::is_void_v<Result>) {
        caller.unlock();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&] {
                std::lock_guard onUi(handOver);
                call();
            },
            Qt::BlockingQueuedConnection);
        caller.lock();
    } else {
        Result result{};
        caller.unlock();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&] {
                std::lock_guard onUi(handOver);
                result = call();
            },
            Qt::BlockingQueuedConnection);
        caller.lock();
        return result;
    }
}

}  // namespace platform::ui
