#pragma once
// For a handler that holds the user-interface thread in a blocking call (an engine request, a
// poll): shows the wait cursor for as long as it lives, and discards the mouse and key input
// given meanwhile. The window system keeps such input queued while the thread is blocked; without
// this it would all be carried out once the wait ends, a click on a button that looked frozen
// starting the same request again. UI thread.

#include <QObject>
#include <memory>

namespace platform::ui {

class BusyWait {
public:
    BusyWait();
    ~BusyWait();
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;

private:
    std::unique_ptr<QObject> m_inputDrop;
};

}  // namespace platform::ui
