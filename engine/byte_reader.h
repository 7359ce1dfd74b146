#pragma once
// A bounds-checked cursor over received bytes: every read checks what remains before it takes.

#include <cstddef>
#include <cstdint>
#include <span>

namespace addp {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Remaining() const { return m_bytes.size() - m_offset; }

    bool Take(std::size_t count, std::span<const std::uint8_t>& out) {
        if (count > Remaining()) return false;
        out = m_bytes.subspan(m_offset, count);
        m_offset += count;
        return true;
    }

    bool ReadU8(std::uint8_t& out) {
        std::span<const std::uint8_t> bytes;
        if (!Take(1, bytes)) return false;
        out = bytes[0];
        return true;
    }

    bool ReadU16(std::uint16_t& out) {
        std::span<const std::uint8_t> bytes;
        if (!Take(2, bytes)) return false;
        out = static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
        return true;
    }

    bool ReadU32(std::uint32_t& out) {
        std::span<const std::uint8_t> bytes;
        if (!Take(4, bytes)) return false;
        out = std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 |
              std::uint32_t{bytes[3]};
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};

}  // namespace addp
