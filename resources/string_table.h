#pragma once
// The user-facing texts, by number.

#include <optional>
#include <string_view>

namespace resources {

// The application's title, the default caption of message boxes.
inline constexpr int kAppTitle = 57344;

// Nothing when the table holds no text with that number.
std::optional<std::string_view> LoadString(int id);

}  // namespace resources
