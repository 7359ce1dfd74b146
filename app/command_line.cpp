#include "app/command_line.h"

#include "app/simulation.h"
#include "product_version.h"

std::optional<CommandLine> ParseCommandLine(const QStringList& arguments, QString& error) {
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            line.help = true;
        else if (argument == QLatin1String("--version"))
            line.version = true;
        else if (argument == QLatin1String("--simulate"))
            line.simulate = true;
        else {
            error = argument;
            return std::nullopt;
        }
    }
    return line;
}

QString UsageText() {
    return QStringLiteral(
               "Usage: tq7config [--simulate] [--help] [--version]\n"
               "\n"
               "Finds TQ7 converters on the LAN and configures them over the LAN or over USB.\n"
               "\n"
               "  --simulate  also start a simulated converter on this computer, so that every\n"
               "              command can be tried without hardware. It answers discovery as\n"
               "              \"TQ7-desk\" (00:40:9d:54:51:37, 192.0.2.50); its password is \"%1\".\n"
               "              Only this computer reaches it, and the program then searches this\n"
               "              computer only, not the LAN.\n"
               "              It is also the one converter attached by USB (real ones are not\n"
               "              looked for then); its console user is \"%2\", password \"%3\".\n"
               "  --help      show this text.\n"
               "  --version   show the version.\n"
               "\n"
               "Qt's own options (for instance -platform offscreen) are understood as well.\n")
        .arg(QLatin1String(Simulation::kPassword), QLatin1String(Simulation::kConsoleUser),
             QLatin1String(Simulation::kConsolePassword));
}

QString VersionText() {
    return QStringLiteral("tq7config %1\n").arg(QLatin1String(kProductVersion));
}
