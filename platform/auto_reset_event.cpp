#include "platform/auto_reset_event.h"

namespace platform {

void AutoResetEvent::Signal() {
    {
        std::lock_guard guard(m_lock);
        m_set = true;
    }
    m_signalled.notify_one();
}

bool AutoResetEvent::Wait(std::chrono::nanoseconds timeout) {
    std::unique_lock guard(m_lock);
    if (!m_signalled.wait_for(guard, timeout, [this] { return m_set; })) return false;
    m_set = false;
    return true;
}

}  // namespace platform
