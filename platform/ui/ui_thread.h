#pragma once
// Widgets belong to the user-interface thread. A worker that changes a control hands the call
// over to that thread and waits for it; a call made on the UI thread itself runs at once (a
// blocking hand-over to oneself would never return).
//
// The calls travel through a queue of our own, guarded by a standard lock, and Qt's event queue
// only wakes the UI thread: so the order of the two threads is one the thread sanitizer can see,
// which it cannot inside Qt.

#include <functional>
#include <type_traits>

namespace platform::ui {

bool OnUiThread();

// Queues `call` for the UI thread and returns at once. Calls run in the order queued, also
// within nested modal loops. Any thread; with no application object the call runs at once.
void PostToUiThread(std::function<void()> call);

// Runs `call` on the UI thread and returns once it has run there. Any thread.
void RunOnUiThread(const std::function<void()>& call);

template <typename F>
auto CallOnUiThread(F&& call) -> std::invoke_result_t<F&> {
    using Result = std::invoke_result_t<F&>;
    if (OnUiThread()) return call();
    if constexpr (std::is_void_v<Result>) {
        RunOnUiThread([&] { call(); });
    } else {
        Result result{};
        RunOnUiThread([&] { result = call(); });
        return result;
    }
}

}  // namespace platform::ui
