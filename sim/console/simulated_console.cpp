#include "sim/console/simulated_console.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>
#include <utility>

#include "platform/time.h"

namespace sim::console {
namespace {

using platform::Clock;

int PollMilliseconds(Clock::duration wait) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    return static_cast<int>(std::clamp<decltype(ms)>(ms, 0, INT_MAX));
}

}  // namespace

SimulatedConsole::SimulatedConsole(ConsoleOptions options, std::function<void()> onUnplug)
    : m_onUnplug(std::move(onUnplug)), m_module(std::move(options), Clock::now()) {
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wake < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
    m_thread = std::thread([this] { Run(); });
}

SimulatedConsole::~SimulatedConsole() {
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    Wake();
    if (m_thread.joinable()) m_thread.join();
    ::close(m_wake);
}

void SimulatedConsole::Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(m_wake, &one, sizeof one);
}

ConsoleSettings SimulatedConsole::Settings() const {
    std::lock_guard lock(m_lock);
    return m_module.Settings();
}

void SimulatedConsole::SetSettings(const ConsoleSettings& settings) {
    std::lock_guard lock(m_lock);
    m_module.SetSettings(settings);
}

ConsoleState SimulatedConsole::State() const {
    std::lock_guard lock(m_lock);
    return m_module.State();
}

std::string SimulatedConsole::User() const {
    std::lock_guard lock(m_lock);
    return m_module.User();
}

std::vector<std::string> SimulatedConsole::ReceivedLines() const {
    std::lock_guard lock(m_lock);
    return m_module.Lines();
}

std::string SimulatedConsole::ReceivedBytes() const {
    std::lock_guard lock(m_lock);
    return m_module.Bytes();
}

void SimulatedConsole::ClearLog() {
    std::lock_guard lock(m_lock);
    m_module.ClearLog();
}

bool SimulatedConsole::WaitForLines(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, timeout, [&] { return m_module.Lines().size() >= count; });
}

bool SimulatedConsole::WaitForState(ConsoleState state, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, timeout, [&] { return m_module.State() == state; });
}

void SimulatedConsole::NoteSent(std::size_t bytes) {
    std::lock_guard lock(m_lock);
    m_sent += bytes;
}

bool SimulatedConsole::WaitUntilAnswered(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, timeout, [&] {
        return m_unplugged || m_stop || (m_heard >= m_sent && m_unasked.empty() && m_unsaid == 0);
    });
}

void SimulatedConsole::SetFaults(ConsoleFaults faults) {
    {
        std::lock_guard lock(m_lock);
        m_module.SetFaults(std::move(faults));
    }
    Wake();  // a new byte delay takes effect at once
}

ConsoleFaults SimulatedConsole::Faults() const {
    std::lock_guard lock(m_lock);
    return m_module.Faults();
}

void SimulatedConsole::Send(std::string_view bytes) {
    {
        std::lock_guard lock(m_lock);
        m_unasked.append(bytes);
    }
    Wake();
}

void SimulatedConsole::Unplug() {
    {
        std::lock_guard lock(m_lock);
        if (m_unplugged) return;
        m_unplugged = true;
    }
    Wake();
    if (m_thread.joinable()) m_thread.join();
    m_pty.Close();
    if (m_onUnplug) m_onUnplug();
    m_changed.notify_all();
}

bool SimulatedConsole::Unplugged() const {
    std::lock_guard lock(m_lock);
    return m_unplugged;
}

// One thread per console: it reads what the program sends, feeds the console, and writes the
// console's answers, a byte at a time when the line is to be slow.
void SimulatedConsole::Run() {
    std::string pending;
    Clock::time_point nextByte = Clock::now();
    char input[4096];
    for (;;) {
        std::optional<Clock::time_point> due;
        std::chrono::nanoseconds byteDelay{0};
        {
            std::lock_guard lock(m_lock);
            if (m_stop || m_unplugged) return;
            pending += std::exchange(m_unasked, std::string());
            pending += m_module.Advance(Clock::now());
            m_unsaid = pending.size();
            due = m_module.NextDue();
            byteDelay = platform::Scaled(m_module.Faults().byteDelay);
        }
        const Clock::time_point now = Clock::now();
        const bool writeNow = !pending.empty() && now >= nextByte;
        Clock::duration wait = std::chrono::hours(1);
        if (due) wait = std::min<Clock::duration>(wait, *due - now);
        if (!pending.empty() && !writeNow) wait = std::min<Clock::duration>(wait, nextByte - now);

        pollfd fds[2] = {{m_pty.Master(), static_cast<short>(POLLIN | (writeNow ? POLLOUT : 0)), 0},
                         {m_wake, POLLIN, 0}};
        const int ready = ::poll(fds, 2, writeNow ? 0 : PollMilliseconds(wait));
        if (ready < 0 && errno != EINTR) return;
        if ((fds[1].revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t ignored = ::read(m_wake, &count, sizeof count);
        }
        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t got = ::read(m_pty.Master(), input, sizeof input);
            if (got > 0) {
                std::lock_guard lock(m_lock);
                pending +=
                    m_module.Receive(std::string_view(input, static_cast<std::size_t>(got)), Clock::now());
                m_heard += static_cast<std::uint64_t>(got);
                m_unsaid = pending.size();
                m_changed.notify_all();
            }
        }
        if (writeNow || (!pending.empty() && (fds[0].revents & POLLOUT) != 0)) {
            const std::size_t chunk = byteDelay.count() > 0 ? 1 : pending.size();
            const ssize_t sent = ::write(m_pty.Master(), pending.data(), chunk);
            if (sent > 0) {
                pending.erase(0, static_cast<std::size_t>(sent));
                nextByte = Clock::now() + byteDelay;
            } else if (sent < 0 && errno == EAGAIN) {
                // The program is not reading: wait for room rather than spin.
                pollfd room{m_pty.Master(), POLLOUT, 0};
                ::poll(&room, 1, 10);
            }
        }
        {
            std::lock_guard lock(m_lock);
            m_unsaid = pending.size();  // only now is what went out on the line
            m_changed.notify_all();
        }
    }
}

}  // namespace sim::console
