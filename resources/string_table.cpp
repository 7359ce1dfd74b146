#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace resources {
namespace {

constexpr std::array<std::pair<int, std::string_view>, 22> kStrings{{
    {1, "Searching..."},
    {2, "TQ7 Converter"},
    {3, "IP Address"},
    {4, "MAC Address"},
    {5, "Name"},
    {6, "Converter"},
    {7, "No TQ7 was selected on list !"},
    {8, "Internal error !"},
    {9, "Connection error. Check if device is connected. Check the connection parameters."},
    {10, "Wrong login or password"},
    {16, "No device connected"},
    {18, "The user name and password need to be filled"},
    {19, "Connected"},
    {20, "Disconnected"},
    {21, "Configuration loaded"},
    {22, "Configuration saved. Please restart the device to set configuration."},
    {23, "File could not be opened"},
    {24, "The converter did not answer."},
    {25, "The converter refused the request."},
    {26, "The password is too long: the converter takes at most 255 characters."},
    {27, "The password holds a character the converter cannot take. Use only letters, digits and signs of "
         "Western European languages (Latin-1)."},
    {kAppTitle, "TQ7Config"},
}};

}  // namespace

std::optional<std::string_view> LoadString(int id) {
    const auto found = std::find_if(kStrings.begin(), kStrings.end(), [id](const auto& entry) { return entry.first == id; });
    if (found == kStrings.end()) return std::nullopt;
    return found->second;
}

}  // namespace resources
