#pragma once
// The password the user typed, as a configuration request carries it.

#include <QString>
#include <optional>
#include <string>

namespace lan {

// The request's bytes; nothing, once the user has been told why the converter could not take
// the password (too long, or a character it has no byte for). UI thread.
std::optional<std::string> PasswordForRequest(const QString& typed);

}  // namespace lan
