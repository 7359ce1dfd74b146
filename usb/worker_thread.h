#pragma once
// A worker the USB window runs behind the progress panel. The window waits for it once the
// panel has ended, serving the user-interface thread meanwhile, because a worker's last steps
// may still be handing control changes over to that thread after it has ended the panel; the
// next start of the same kind and the window's end wait too.

#include <atomic>
#include <thread>

class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread() { Wait(); }

    // Runs `work` on a thread of its own, at once. UI thread.
    void Start(void (*work)());
    // Returns once the thread has ended. UI thread.
    void Wait();

private:
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};
