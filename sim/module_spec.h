#pragma once
// A module and its faults written as one line of text, for the command line of the simulator:
//
//     mac=00:40:9d:01:02:03,ip=10.0.0.5,mask=255.255.0.0,name=Desk,password=secret,copies=2
//
// Pairs are key=value, separated by commas; "\," stands for a comma and "\\" for a backslash
// inside a value. ModuleSpecHelp() lists the keys.

#include <string>
#include <string_view>

#include "sim/module.h"

namespace sim {

struct ModuleSpec {
    ModuleDescription description;
    Faults faults;
};

// True and `spec` filled on success; false with a one-line reason in `error` otherwise.
bool ParseModuleSpec(std::string_view text, ModuleSpec& spec, std::string& error);

// The keys, their defaults and meaning, ready to print.
std::string ModuleSpecHelp();

}  // namespace sim
