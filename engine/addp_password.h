#pragma once
// How a password typed as text becomes the bytes a configuration request carries.
//
// The converter's texts are single-byte: each character of the password goes as its Latin-1
// byte, so a password of kAddpMaxPassword characters is exactly as long as a request can carry.
// A character with no Latin-1 byte is refused, never sent in some other form the converter would
// compare as a different password.

#include <string>
#include <string_view>

#include "engine/addp.h"

enum class AddpPasswordFault {
    kNone,
    kTooLong,        // more than kAddpMaxPassword characters
    kNotLatin1,      // a character beyond U+00FF
    kZeroCharacter,  // U+0000, which would end the password early on the wire
    kNotUtf8,        // the text is no valid UTF-8
};

struct AddpPasswordBytes {
    std::string bytes;  // what the request carries; empty unless `fault` is kNone
    AddpPasswordFault fault = AddpPasswordFault::kNone;
};

// `text` is UTF-8. When it has several faults, a character fault is named before the length.
// Does not block. Any thread.
AddpPasswordBytes AddpEncodePassword(std::string_view text);
