#pragma once
// Reading settings out of the converter's "show" replies. Each function takes the text of one
// reply (the command sent, then the bytes received) and never looks past its end or past a zero
// byte. The replies are laid out for people, so each value is found by a fixed landmark; a
// reply that lacks the landmark yields nothing, which is not an error.

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// The word that follows the first space after the colon after `keyword`, ending at the next
// space or at the line's CR. Empty when the keyword, the colon or the CR is missing, when no space
// follows the colon, or when two spaces do.
std::string_view ExtractColonValue(std::string_view text, std::string_view keyword);

// The DHCP list position the reply's "dhcp" value selects ("off": Off; "on" or "supplied": On), or
// nothing for any other value.
std::optional<int> ParseDhcp(std::string_view text);

// The speed list position named after "set to" on the "Speed" line, spaces left out ("auto)",
// "10)", "100)"), or nothing.
std::optional<int> ParseEthernetSpeed(std::string_view text);

// The profile list position of the profile listed for port 1 (five characters after the first
// space after the first "1"), or nothing when it names no profile the list knows.
std::optional<int> ParseSerialProfile(std::string_view text);

}  // namespace settings
