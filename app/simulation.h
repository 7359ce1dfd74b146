#pragma once
// A simulated converter beside the program, so that every command can be tried without hardware:
// on loopback it answers discovery and configuration, and on USB its console sits behind a
// pseudo-terminal that the program finds as the only attached converter.

#include <QString>
#include <memory>

namespace sim {
class LanSimulator;
}
namespace sim::console {
class FakeDeviceTree;
}

class Simulation {
public:
    static constexpr const char* kPassword = "tq7demo";
    static constexpr const char* kConsoleUser = "root";
    static constexpr const char* kConsolePassword = "tq7";

    Simulation();
    ~Simulation();

    // False, with the reason, when the simulated converter cannot listen or have its USB device.
    // Before the first window opens: for the rest of the run the LAN side is this computer's
    // loopback alone, and the USB device replaces the system's.
    bool Start(QString& error);

private:
    std::unique_ptr<sim::LanSimulator> m_lan;
    std::unique_ptr<sim::console::FakeDeviceTree> m_usb;
};
