#include "settings/set_commands.h"

namespace settings {

std::string SetCommandLine(std::string_view prefix, std::string_view value) {
    std::string line(prefix);
    if (!value.empty())
        line += value;
    else if (prefix != kSetProfile)
        line += '"';
    line += '\n';
    return line;
}

}  // namespace settings
