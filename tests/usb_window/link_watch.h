#pragma once
// The program's driver with a watch on the link: it records which thread uses it, so that a test
// sees whether two workers talked to the converter at once, and it can hold one write until the
// test lets it go, so that the test acts while a worker is in the middle of an exchange.

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/usb_console/scripted_driver.h"

class LinkWatch final : public ScriptedDriver {
public:
    // Holds the first write of exactly `held` until Release.
    LinkWatch(platform::FtdiDriver& driver, std::string held) : ScriptedDriver(driver), m_held(std::move(held)) {}
    ~LinkWatch() override { Release(); }

    bool Holding() const {
        std::lock_guard guard(m_lock);
        return m_holding;
    }
    void Release() {
        std::lock_guard guard(m_lock);
        m_released = true;
        m_changed.notify_all();
    }
    // True when the threads that read or wrote took their turns one after the other: once a
    // thread has used the link, a thread that used it before never comes back.
    bool OneUserAtATime() const {
        std::lock_guard guard(m_lock);
        std::vector<std::thread::id> finished;
        for (std::size_t i = 0; i < m_users.size(); ++i) {
            if (std::find(finished.begin(), finished.end(), m_users[i]) != finished.end()) return false;
            if (i + 1 < m_users.size() && m_users[i + 1] != m_users[i]) finished.push_back(m_users[i]);
        }
        return true;
    }

    platform::FtdiStatus Read(platform::FtdiHandle handle, std::span<char> buffer, std::uint32_t& got) override {
        Used();
        return ScriptedDriver::Read(handle, buffer, got);
    }
    platform::FtdiStatus Write(platform::FtdiHandle handle, std::span<const char> bytes,
                               std::uint32_t& written) override {
        Used();
        if (std::string_view(bytes.data(), bytes.size()) == m_held) HoldOnce();
        return ScriptedDriver::Write(handle, bytes, written);
    }

private:
    void Used() {
        std::lock_guard guard(m_lock);
        m_users.push_back(std::this_thread::get_id());
    }
    void HoldOnce() {
        std::unique_lock guard(m_lock);
        if (m_heldOnce) return;
        m_heldOnce = m_holding = true;
        m_changed.wait(guard, [this] { return m_released; });
        m_holding = false;
    }

    const std::string m_held;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::thread::id> m_users;
    bool m_heldOnce = false;
    bool m_holding = false;
    bool m_released = false;
};
