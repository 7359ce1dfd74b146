#include <QApplication>
#include <cstdio>
#include <optional>

#include "app/command_line.h"
#include "app/finder_app.h"
#include "app/simulation.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QString bad;
    const std::optional<CommandLine> line = ParseCommandLine(QApplication::arguments(), bad);
    if (!line) {
        std::fprintf(stderr, "tq7config: unknown argument \"%s\"\n\n%s", qPrintable(bad), qPrintable(UsageText()));
        return 2;
    }
    if (line->help) {
        std::fputs(qPrintable(UsageText()), stdout);
        return 0;
    }
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
