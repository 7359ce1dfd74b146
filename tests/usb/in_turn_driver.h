#pragma once
// The program's driver with the simulated converter answering in turn: a read (or a purge) first
// waits until the console behind the handle has heard every byte written to it and has put its
// whole answer on the line. The reply then lies ready when the read starts, so the read's
// time-out, however short the tests make it, races nothing, and a slow machine changes no
// exchange. Output the console gives later by itself (the end of a boot) is not waited for.

#include <gtest/gtest.h>

#include <chrono>

#include "sim/console/device_tree.h"
#include "tests/usb/forwarding_driver.h"

// Only a console that hangs takes this long to answer.
inline constexpr std::chrono::seconds kAnswerLimit{10};
// A boot that outlasts any test, for tests that restart a console and look at it afterwards: the
// console's own return to the login prompt then races nothing they check.
inline constexpr std::chrono::hours kEndlessBoot{1};

class InTurnDriver : public ForwardingDriver {
public:
    InTurnDriver(platform::FtdiDriver& real, sim::console::FakeDeviceTree& tree)
        : ForwardingDriver(real), m_tree(tree) {}

    platform::FtdiStatus Write(platform::FtdiHandle handle, std::span<const char> bytes,
                               std::uint32_t& written) override {
        const platform::FtdiStatus status = Next().Write(handle, bytes, written);
        if (sim::console::SimulatedConsole* console = ConsoleOf(handle); console != nullptr && written > 0)
            console->NoteSent(written);
        return status;
    }
    platform::FtdiStatus Read(platform::FtdiHandle handle, std::span<char> buffer,
                              std::uint32_t& got) override {
        AwaitAnswer(handle);
        return Next().Read(handle, buffer, got);
    }
    // What the console has yet to hear would otherwise be purged or not by chance.
    platform::FtdiStatus Purge(platform::FtdiHandle handle, std::uint32_t mask) override {
        AwaitAnswer(handle);
        return Next().Purge(handle, mask);
    }

private:
    sim::console::SimulatedConsole* ConsoleOf(platform::FtdiHandle handle) {
        std::int32_t port = -1;
        if (!platform::IsOk(Next().GetComPortNumber(handle, port))) return nullptr;
        return m_tree.Console(port);
    }
    void AwaitAnswer(platform::FtdiHandle handle) {
        sim::console::SimulatedConsole* console = ConsoleOf(handle);
        if (console != nullptr) {
            EXPECT_TRUE(console->WaitUntilAnswered(kAnswerLimit)) << "the simulated console did not answer";
        }
    }

    sim::console::FakeDeviceTree& m_tree;
};
