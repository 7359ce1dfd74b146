#include "usb/worker_thread.h"

#include <QCoreApplication>

void WorkerThread::Start(void (*work)()) {
    Wait();
    m_running = true;
    m_thread = std::thread([this, work] {
        work();
        m_running = false;
    });
}

void WorkerThread::Wait() {
    // Serves the worker's hand-overs; what the user does meanwhile waits until the handler is done.
    while (m_running) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    if (m_thread.joinable()) m_thread.join();
}
