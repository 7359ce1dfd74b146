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
    while (m_running) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (m_thread.joinable()) m_thread.join();
}
