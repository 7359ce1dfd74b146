#pragma once
// Widgets belong to the user-interface thread. A worker that changes a control hands the call
// over to that thread and waits for it; a call made on the UI thread itself runs at once (a
// blocking hand-over to oneself would never return).

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
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
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { call(); }, Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { result = call(); },
                                  Qt::BlockingQueuedConnection);
        return result;
    }
}

}  // namespace platform::ui
