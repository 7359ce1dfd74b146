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

#include "platform/ftdi.h"

class LinkWatch final : public platform::FtdiDriver {
public:
    // Holds the first write of exactly `held` until Release.
    LinkWatch(platform::FtdiDriver& driver, std::string held) : m_driver(driver), m_held(std::move(held)) {}
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
        return m_driver.Read(handle, buffer, got);
    }
    platform::FtdiStatus Write(platform::FtdiHandle handle, std::span<const char> bytes,
                               std::uint32_t& written) override {
        Used();
        if (std::string_view(bytes.data(), bytes.size()) == m_held) HoldOnce();
        return m_driver.Write(handle, bytes, written);
    }

    platform::FtdiStatus BuildDeviceList(std::uint32_t& count) override { return m_driver.BuildDeviceList(count); }
    platform::FtdiStatus ReadDeviceList(std::span<platform::FtdiDeviceNode> nodes, std::uint32_t& count) override {
        return m_driver.ReadDeviceList(nodes, count);
    }
    platform::FtdiStatus Open(std::uint32_t index, platform::FtdiHandle& handle) override {
        return m_driver.Open(index, handle);
    }
    platform::FtdiStatus Close(platform::FtdiHandle handle) override { return m_driver.Close(handle); }
    platform::FtdiStatus SetBaudRate(platform::FtdiHandle handle, std::uint32_t baudRate) override {
        return m_driver.SetBaudRate(handle, baudRate);
    }
    platform::FtdiStatus SetDataCharacteristics(platform::FtdiHandle handle, std::uint8_t wordLength,
                                                std::uint8_t stopBits, std::uint8_t parity) override {
        return m_driver.SetDataCharacteristics(handle, wordLength, stopBits, parity);
    }
    platform::FtdiStatus Purge(platform::FtdiHandle handle, std::uint32_t mask) override {
        return m_driver.Purge(handle, mask);
    }
    platform::FtdiStatus SetTimeouts(platform::FtdiHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override {
        return m_driver.SetTimeouts(handle, readMs, writeMs);
    }
    platform::FtdiStatus GetComPortNumber(platform::FtdiHandle handle, std::int32_t& port) override {
        return m_driver.GetComPortNumber(handle, port);
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

    platform::FtdiDriver& m_driver;
    const std::string m_held;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::thread::id> m_users;
    bool m_heldOnce = false;
    bool m_holding = false;
    bool m_released = false;
};
