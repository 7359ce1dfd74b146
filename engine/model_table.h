#pragma once
// Names a module from its hardware type and gives a model's number of serial ports. Both look-ups
// take the first matching row.

#include <cstddef>
#include <cstdint>
#include <string_view>

// Copies the model name of the first row with that hardware type into buffer (at most
// capacity - 1 characters, terminated). False, buffer untouched, when no row matches.
bool AddpModelNameForType(std::uint8_t hardwareType, char* buffer, std::size_t capacity);

// Stores the port count of the first row whose name equals modelName byte for byte.
bool AddpPortCountForModel(std::string_view modelName, std::uint8_t& portCount);
