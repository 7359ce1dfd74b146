#pragma once
// "Find, then take up to" over a length-bounded text. Converter replies and configuration files
// may hold stray zero bytes; everything after the first one is not text and is never searched.

#include <cstddef>
#include <string_view>

namespace settings {

inline constexpr std::size_t kNotFound = std::string_view::npos;

// The text up to its first zero byte.
inline std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

// Where `what` first occurs at or after `from`; kNotFound also when `from` is kNotFound.
inline std::size_t FindFrom(std::string_view text, std::string_view what, std::size_t from) {
    return from == kNotFound ? kNotFound : text.find(what, from);
}

// The characters from `first` up to, not including, `end`; empty when `first` is not before `end`.
inline std::string_view Between(std::string_view text, std::size_t first, std::size_t end) {
    return first < end && end <= text.size() ? text.substr(first, end - first) : std::string_view{};
}

}  // namespace settings
