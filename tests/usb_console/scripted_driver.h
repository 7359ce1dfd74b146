#pragma once
// The program's driver with every write recorded, and chosen writes and reads failing as a
// pulled cable would make them fail.

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "tests/usb/forwarding_driver.h"

class ScriptedDriver : public ForwardingDriver {
public:
    using ForwardingDriver::ForwardingDriver;

    // True fails that write (its bytes as given) without sending anything.
    void FailWritesOf(std::function<bool(std::string_view bytes)> fail) {
        std::lock_guard guard(m_lock);
        m_failWrite = std::move(fail);
    }
    // Every read from the `first`-th on (counting from 0) fails without reading.
    void FailReadsFrom(int first) {
        std::lock_guard guard(m_lock);
        m_firstFailingRead = first;
    }
    // The bytes of every write that reached the line, one entry per write.
    std::vector<std::string> Writes() const {
        std::lock_guard guard(m_lock);
        return m_writes;
    }
    void ClearWrites() {
        std::lock_guard guard(m_lock);
        m_writes.clear();
    }

    platform::FtdiStatus Write(platform::FtdiHandle handle, std::span<const char> bytes,
                               std::uint32_t& written) override {
        const std::string_view text(bytes.data(), bytes.size());
        {
            std::lock_guard guard(m_lock);
            if (m_failWrite && m_failWrite(text)) return platform::FtdiStatus::kIoError;
            m_writes.emplace_back(text);
        }
        return Next().Write(handle, bytes, written);
    }

    platform::FtdiStatus Read(platform::FtdiHandle handle, std::span<char> buffer,
                              std::uint32_t& got) override {
        {
            std::lock_guard guard(m_lock);
            if (m_firstFailingRead >= 0 && m_reads++ >= m_firstFailingRead) {
                got = 0;
                return platform::FtdiStatus::kIoError;
            }
        }
        return Next().Read(handle, buffer, got);
    }

private:
    mutable std::mutex m_lock;
    std::function<bool(std::string_view)> m_failWrite;
    int m_firstFailingRead = -1;
    int m_reads = 0;
    std::vector<std::string> m_writes;
};
