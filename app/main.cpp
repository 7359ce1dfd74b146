#include <QApplication>
#include <cstdio>
#include <optional>

#include "app/command_line.h"
#include "app/finder_app.h"
#include "app/qt_start.h"
#include "app/simulation.h"

namespace {

QStringList RawArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int PrintHelpOrVersion(const CommandLine& line) {
    std::fputs(qPrintable(line.help ? UsageText() : VersionText()), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QString bad;
    // Help and version are answered before Qt starts, so that they need no display. With Qt's own
    // options among the arguments this first reading fails, and the one after Qt's start decides.
    if (const std::optional<CommandLine> early = ParseCommandLine(RawArguments(argc, argv), bad);
        early && (early->help || early->version))
        return PrintHelpOrVersion(*early);

    const std::unique_ptr<QApplication> application = StartApplication(argc, argv);
    if (!application) return 1;
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tq7config"));

    const std::optional<CommandLine> line = ParseCommandLine(QApplication::arguments(), bad);
    if (!line) {
        std::fprintf(stderr, "tq7config: unknown argument \"%s\"\n\n%s", qPrintable(bad), qPrintable(UsageText()));
        return 2;
    }
    if (line->help || line->version) return PrintHelpOrVersion(*line);
    Simulation simulation;
    if (line->simulate) {
        QString error;
        if (!simulation.Start(error)) {
            std::fprintf(stderr, "tq7config: the simulated converter cannot start: %s\n", qPrintable(error));
            return 1;
        }
    }
    return theApp.InitInstance();
}
