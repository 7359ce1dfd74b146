#pragma once
// A simulated converter beside the program, so that every command can be tried without hardware.

#include <QString>
#include <memory>

namespace sim {
class LanSimulator;
}

class Simulation {
public:
    static constexpr const char* kPassword = "tq7demo";

    Simulation();
    ~Simulation();

    // False, with the reason, when the simulated converter cannot listen.
    bool Start(QString& error);

private:
    std::unique_ptr<sim::LanSimulator> m_lan;
};
