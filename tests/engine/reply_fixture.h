#pragma once
// Hand-made reply datagrams for the decoder's tests: a header and fields, byte by byte.

#include <cassert>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/addp.h"

class ReplyFixture {
public:
    explicit ReplyFixture(std::uint16_t type, std::uint32_t magic = kAddpMagicDigi) : m_type(type), m_magic(magic) {}

    ReplyFixture& Field(std::uint8_t code, std::initializer_list<std::uint8_t> value) {
        return Field(code, std::vector<std::uint8_t>(value));
    }
    ReplyFixture& Field(std::uint8_t code, const std::vector<std::uint8_t>& value) {
        assert(value.size() <= 255 && "a field value has a one-byte length");
        m_payload.push_back(code);
        m_payload.push_back(static_cast<std::uint8_t>(value.size()));
        m_payload.insert(m_payload.end(), value.begin(), value.end());
        return *this;
    }
    ReplyFixture& Text(std::uint8_t code, std::string_view text) {
        return Field(code, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    ReplyFixture& Mac(std::initializer_list<std::uint8_t> mac) { return Field(1, mac); }
    ReplyFixture& Raw(std::initializer_list<std::uint8_t> bytes) {
        m_payload.insert(m_payload.end(), bytes);
        return *this;
    }
    // Declares another payload length than the bytes that follow.
    ReplyFixture& DeclaredLength(std::uint16_t length) {
        m_declared = length;
        return *this;
    }

    std::vector<std::uint8_t> Bytes() const {
        const std::uint16_t length = m_declared.value_or(static_cast<std::uint16_t>(m_payload.size()));
        const std::uint8_t header[] = {
            static_cast<std::uint8_t>(m_magic >> 24), static_cast<std::uint8_t>(m_magic >> 16),
            static_cast<std::uint8_t>(m_magic >> 8),  static_cast<std::uint8_t>(m_magic),
            static_cast<std::uint8_t>(m_type >> 8),   static_cast<std::uint8_t>(m_type),
            static_cast<std::uint8_t>(length >> 8),   static_cast<std::uint8_t>(length)};
        // Room for all of it first: GCC 12 at -O3 takes the growing copy for one past the header.
        std::vector<std::uint8_t> out;
        out.reserve(sizeof header + m_payload.size());
        out.insert(out.end(), std::begin(header), std::end(header));
        out.insert(out.end(), m_payload.begin(), m_payload.end());
        return out;
    }

private:
    std::uint16_t m_type;
    std::uint32_t m_magic;
    std::vector<std::uint8_t> m_payload;
    std::optional<std::uint16_t> m_declared;
};
