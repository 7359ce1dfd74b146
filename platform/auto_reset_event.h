#pragma once
// An event that releases one waiter and then resets itself, as the discovery worker's stop signal.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

class AutoResetEvent {
public:
    void Signal();
    // True when the event was signalled; it is reset by being seen. A zero timeout only looks.
    bool Wait(std::chrono::nanoseconds timeout);
    bool TryWait() { return Wait(std::chrono::nanoseconds(0)); }

private:
    std::mutex m_lock;
    std::condition_variable m_signalled;
    bool m_set = false;
};

}  // namespace platform
