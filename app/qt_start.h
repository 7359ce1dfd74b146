#pragma once
// Starting Qt for the program's windows without Qt's abort when there is no display to open them on.

#include <QApplication>
#include <memory>

// Nothing, with the reason on stderr, when no display is named (no QT_QPA_PLATFORM, no -platform
// argument, no DISPLAY or WAYLAND_DISPLAY). When a display is named but cannot be opened, Qt's
// platform start-up fails fatally; the process then ends with the same reason and status 1.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv);
