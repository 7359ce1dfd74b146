#include "platform/ui/busy_wait.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>

namespace platform::ui {
namespace {

// Swallows what the user does; everything else (painting, timers, calls from workers) goes on.
class InputDrop : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::NonClientAreaMouseButtonPress:
            case QEvent::NonClientAreaMouseButtonRelease:
            case QEvent::NonClientAreaMouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TabletPress:
            case QEvent::TabletRelease: return true;
            // The close box or Alt+F4 through the window manager; the program's own closes pass.
            case QEvent::Close: return event->spontaneous();
            default: return false;
        }
    }
};

// Delivers everything the window system and the other threads have queued so far, and first
// makes the window system hand over what it still holds.
void DeliverQueuedEvents() { QGuiApplication::sync(); }

}  // namespace

BusyWait::BusyWait() : m_inputDrop(std::make_unique<InputDrop>()) {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QCoreApplication::instance()->installEventFilter(m_inputDrop.get());
    // Puts the cursor on the screen before the thread blocks; input already queued (the second
    // press of a double click) is dropped too.
    DeliverQueuedEvents();
}

BusyWait::~BusyWait() {
    DeliverQueuedEvents();
    QCoreApplication::instance()->removeEventFilter(m_inputDrop.get());
    QApplication::restoreOverrideCursor();
}

}  // namespace platform::ui
