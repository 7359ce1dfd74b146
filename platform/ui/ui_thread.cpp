#include "platform/ui/ui_thread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace platform::ui {
namespace {

QEvent::Type CallWaiting() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// Lives on the UI thread; each of its events runs the oldest queued call.
class CallRunner : public QObject {
public:
    void Queue(std::function<void()> call) {
        {
            std::lock_guard guard(m_lock);
            m_calls.push_back(std::move(call));
        }
        QCoreApplication::postEvent(this, new QEvent(CallWaiting()));
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() != CallWaiting()) return QObject::event(event);
        std::function<void()> call;
        {
            std::lock_guard guard(m_lock);
            if (m_calls.empty()) return true;
            call = std::move(m_calls.front());
            m_calls.pop_front();
        }
        call();
        return true;
    }

private:
    std::mutex m_lock;
    std::deque<std::function<void()>> m_calls;
};

CallRunner& TheRunner() {
    // Never deleted: calls may be queued until the very end of the run.
    static CallRunner* const runner = [] {
        auto* made = new CallRunner;
        made->moveToThread(QCoreApplication::instance()->thread());
        return made;
    }();
    return *runner;
}

}  // namespace

bool OnUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

void PostToUiThread(std::function<void()> call) {
    if (QCoreApplication::instance() == nullptr) return call();
    TheRunner().Queue(std::move(call));
}

void RunOnUiThread(const std::function<void()>& call) {
    if (OnUiThread()) return call();
    std::mutex lock;
    std::condition_variable ran;
    bool done = false;
    PostToUiThread([&] {
        call();
        std::lock_guard guard(lock);
        done = true;
        ran.notify_one();
    });
    std::unique_lock guard(lock);
    ran.wait(guard, [&] { return done; });
}

}  // namespace platform::ui
