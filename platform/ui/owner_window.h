#pragma once
// The window that a dialog, box or file dialog without a parent of its own belongs to.

#include <QApplication>
#include <QWidget>

namespace platform::ui {

// The innermost modal window, whose handler is the one opening the new window. The active window
// is no guide: right after another modal window has closed there may be none for a moment.
inline QWidget* OwnerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

}  // namespace platform::ui
