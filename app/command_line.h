#pragma once
// What the program is asked to do by its command line.

#include <QStringList>
#include <optional>

struct CommandLine {
    bool help = false;
    bool version = false;
    bool simulate = false;
};

// Nothing when an argument is not understood; `error` then names it.
std::optional<CommandLine> ParseCommandLine(const QStringList& arguments, QString& error);
QString UsageText();
QString VersionText();
