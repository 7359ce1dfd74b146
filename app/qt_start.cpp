#include "app/qt_start.h"

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler g_previousHandler = nullptr;

void PrintNoDisplay() {
    std::fputs("tq7config: no display: start it in a desktop session, or use tq7ctl for the LAN side\n",
               stderr);
}

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool PlatformArgument(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        const QLatin1String argument(argv[i]);
        if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform")) return true;
    }
    return false;
}

// Only while the application object is built: Qt's fatal message there means its platform could
// not start, and aborting would leave the user a core dump instead of a reason.
void OnStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        PrintNoDisplay();
        std::_Exit(1);
    }
    if (g_previousHandler != nullptr) g_previousHandler(type, context, message);
}

}  // namespace

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv) {
    if (!IsSet("QT_QPA_PLATFORM") && !PlatformArgument(argc, argv) && !IsSet("DISPLAY") &&
        !IsSet("WAYLAND_DISPLAY")) {
        PrintNoDisplay();
        return nullptr;
    }
    g_previousHandler = qInstallMessageHandler(OnStartupMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    return application;
}
