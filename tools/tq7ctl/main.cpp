#include <cstdlib>
#include <iostream>
#include <string_view>
#include <vector>

#include "tools/tq7ctl/run.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const char* timeScale = std::getenv("TQ7_TIME_SCALE");
    const tq7ctl::Surroundings surroundings{
        std::cout, std::cerr, timeScale ? std::optional<std::string_view>(timeScale) : std::nullopt,
        tq7ctl::ReadPassword};
    return tq7ctl::Run(args, surroundings);
}
