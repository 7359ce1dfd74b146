#pragma once
// A driver that hands every call to another one: the base of the test drivers that change a few
// calls of the program's real driver and leave the rest alone.

#include "platform/ftdi.h"

class ForwardingDriver : public platform::FtdiDriver {
public:
    explicit ForwardingDriver(platform::FtdiDriver& next) : m_next(next) {}

    platform::FtdiStatus BuildDeviceList(std::uint32_t& count) override {
        return m_next.BuildDeviceList(count);
    }
    platform::FtdiStatus ReadDeviceList(std::span<platform::FtdiDeviceNode> nodes,
                                        std::uint32_t& count) override {
        return m_next.ReadDeviceList(nodes, count);
    }
    platform::FtdiStatus Open(std::uint32_t index, platform::FtdiHandle& handle) override {
        return m_next.Open(index, handle);
    }
    platform::FtdiStatus Close(platform::FtdiHandle handle) override { return m_next.Close(handle); }
    platform::FtdiStatus Read(platform::FtdiHandle handle, std::span<char> buffer,
                              std::uint32_t& got) override {
        return m_next.Read(handle, buffer, got);
    }
    platform::FtdiStatus Write(platform::FtdiHandle handle, std::span<const char> bytes,
                               std::uint32_t& written) override {
        return m_next.Write(handle, bytes, written);
    }
    platform::FtdiStatus SetBaudRate(platform::FtdiHandle handle, std::uint32_t baudRate) override {
        return m_next.SetBaudRate(handle, baudRate);
    }
    platform::FtdiStatus SetDataCharacteristics(platform::FtdiHandle handle, std::uint8_t wordLength,
                                                std::uint8_t stopBits, std::uint8_t parity) override {
        return m_next.SetDataCharacteristics(handle, wordLength, stopBits, parity);
    }
    platform::FtdiStatus Purge(platform::FtdiHandle handle, std::uint32_t mask) override {
        return m_next.Purge(handle, mask);
    }
    platform::FtdiStatus SetTimeouts(platform::FtdiHandle handle, std::uint32_t readMs,
                                     std::uint32_t writeMs) override {
        return m_next.SetTimeouts(handle, readMs, writeMs);
    }
    platform::FtdiStatus GetComPortNumber(platform::FtdiHandle handle, std::int32_t& port) override {
        return m_next.GetComPortNumber(handle, port);
    }

protected:
    platform::FtdiDriver& Next() const { return m_next; }

private:
    platform::FtdiDriver& m_next;
};
