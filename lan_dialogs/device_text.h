#pragma once
// How a converter's record is shown: its texts, its MAC, its addresses and its model name.

#include <QString>
#include <cstdint>
#include <cstring>

#include "engine/addp.h"

namespace lan {

// Text a converter sent (a record's text field, its status message): one byte per character,
// Latin-1, up to the terminator and never past the field.
template <std::size_t N>
QString WireText(const char (&field)[N]) {
    return QString::fromLatin1(field, static_cast<qsizetype>(strnlen(field, N)));
}

// "0a:1b:2c:3d:4e:5f": lower-case hex pairs separated by colons.
QString MacText(const std::uint8_t mac[6]);
// Dotted decimal of an address held in network order.
QString Ipv4Text(std::uint32_t networkOrder);
// The same address as the IP-address field holds it: the first octet most significant.
std::uint32_t FieldValue(std::uint32_t networkOrder);
std::uint32_t NetworkOrder(std::uint32_t fieldValue);

// The model name as the user sees it: this family's module is shown as the converter it sits in.
QString ShownModelName(const char (&modelName)[256]);
// The dialogs write the shown name back into the record they were opened on.
void ApplyModelNameRule(AddpDevice& device);

}  // namespace lan
