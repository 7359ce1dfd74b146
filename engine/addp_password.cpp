#include "engine/addp_password.h"

#include <cstdint>
#include <optional>

namespace {

// What the first byte of a multi-byte sequence says: its length, its value bits, and the lowest
// code point that needs that length (anything below is an overlong form).
struct SequenceStart {
    std::size_t length;
    char32_t bits;
    char32_t lowest;
};

std::optional<SequenceStart> StartOf(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return SequenceStart{2, lead & 0x1Fu, 0x80};
    if (lead >= 0xE0 && lead <= 0xEF) return SequenceStart{3, lead & 0x0Fu, 0x800};
    if (lead >= 0xF0 && lead <= 0xF4) return SequenceStart{4, lead & 0x07u, 0x10000};
    return std::nullopt;
}

// The code point that starts at `at`, and moves `at` past it; nothing for a malformed sequence
// (a stray continuation byte, an overlong form, a surrogate, a value beyond U+10FFFF, a cut end).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    const std::optional<SequenceStart> start = StartOf(lead);
    if (!start || text.size() - at < start->length) return std::nullopt;
    char32_t value = start->bits;
    for (std::size_t i = 1; i < start->length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if ((byte & 0xC0) != 0x80) return std::nullopt;
        value = value << 6 | (byte & 0x3Fu);
    }
    if (value < start->lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    at += start->length;
    return value;
}

}  // namespace

AddpPasswordBytes AddpEncodePassword(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> character = NextCodePoint(text, at);
        if (!character) return {{}, AddpPasswordFault::kNotUtf8};
        if (*character > 0xFF) return {{}, AddpPasswordFault::kNotLatin1};
        if (*character == 0) return {{}, AddpPasswordFault::kZeroCharacter};
        bytes.push_back(static_cast<char>(static_cast<std::uint8_t>(*character)));
    }
    if (bytes.size() > kAddpMaxPassword) return {{}, AddpPasswordFault::kTooLong};
    return {std::move(bytes), AddpPasswordFault::kNone};
}
