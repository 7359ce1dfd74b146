#pragma once
// A simulated converter console behind a pseudo-terminal: a thread of its own answers whatever
// arrives on the line, as the converter's console would. Everything a test reads (settings,
// state, the lines received) and every fault it sets may be used from any thread.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/console/console_module.h"
#include "sim/console/pseudo_terminal.h"

namespace sim::console {

class SimulatedConsole {
public:
    // `onUnplug` runs on the unplugging thread after the line has gone, to take away whatever
    // presents the device (its sysfs entry and device node).
    explicit SimulatedConsole(ConsoleOptions options = {}, std::function<void()> onUnplug = {});
    ~SimulatedConsole();
    SimulatedConsole(const SimulatedConsole&) = delete;
    SimulatedConsole& operator=(const SimulatedConsole&) = delete;

    const std::string& SlavePath() const { return m_pty.SlavePath(); }
    // The console's own hold on the tty: tcgetattr on it shows how the program set the line.
    int SlaveFd() const { return m_pty.Slave(); }

    ConsoleSettings Settings() const;
    void SetSettings(const ConsoleSettings& settings);
    ConsoleState State() const;
    std::string User() const;

    // Every line received, with its line ending and NUL bytes (see ConsoleModule::Lines).
    std::vector<std::string> ReceivedLines() const;
    std::string ReceivedBytes() const;
    void ClearLog();

    // Wait in real time, not program time, so a slow machine fails no test.
    bool WaitForLines(std::size_t count, std::chrono::milliseconds timeout) const;
    bool WaitForState(ConsoleState state, std::chrono::milliseconds timeout) const;

    // Tells the console that `bytes` more bytes have been put on the line toward it.
    void NoteSent(std::size_t bytes);
    // Waits in real time until the console has heard every byte NoteSent told it of and has put
    // on the line all it had to say so far: its answers and what Send gave it. Output that falls
    // due later (the end of a boot or of a failed-login pause) is not waited for. True at once
    // for an unplugged console; false when the time runs out first.
    bool WaitUntilAnswered(std::chrono::milliseconds timeout) const;

    void SetFaults(ConsoleFaults faults);
    ConsoleFaults Faults() const;

    // Puts bytes on the line unasked, as leftovers of earlier traffic.
    void Send(std::string_view bytes);

    // Pulls the cable: the line hangs up for whoever has it open, then `onUnplug` runs. Idempotent.
    void Unplug();
    bool Unplugged() const;

private:
    void Run();
    void Wake();

    PseudoTerminal m_pty;
    std::function<void()> m_onUnplug;
    int m_wake = -1;

    mutable std::mutex m_lock;  // guards everything below
    mutable std::condition_variable m_changed;
    ConsoleModule m_module;
    std::string m_unasked;      // Send's bytes, for the thread to put on the line
    std::uint64_t m_sent = 0;   // bytes NoteSent told of
    std::uint64_t m_heard = 0;  // bytes read from the line
    std::size_t m_unsaid = 0;   // bytes the thread holds that are not on the line yet
    bool m_stop = false;
    bool m_unplugged = false;

    std::thread m_thread;  // last: starts once everything above exists
};

}  // namespace sim::console
