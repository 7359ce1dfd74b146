#include "engine/model_table.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct ModelRow {
    std::uint8_t hardwareType;
    std::string_view name;
    std::uint8_t ports;
};

constexpr std::array<ModelRow, 18> kAddpModelTable{{
    {1, "PortServer TS 8", 8},
    {2, "PortServer TS 16", 16},
    {3, "PortServer TS 32", 32},
    {4, "PortServer TS 16 Rack", 16},
    {5, "PortServer II", 16},
    {6, "PortServer II Rack", 16},
    {7, "Digi One RealPort", 1},
    {8, "PortServer TS 2", 2},
    {9, "PortServer TS 4", 4},
    {10, "Digi One IA RealPort", 1},
    {11, "Digi One TS", 1},
    {12, "PortServer TS 2", 2},
    {13, "PortServer TS 4", 4},
    {14, "Digi One SP", 1},
    {15, "Digi One IA", 1},
    {16, "Digi One EM", 1},
    {0, "PortServer TS 2 MEI", 2},
    {0, "PortServer TS 4 MEI", 4},
}};

}  // namespace

bool AddpModelNameForType(std::uint8_t hardwareType, char* buffer, std::size_t capacity) {
    const auto row = std::find_if(kAddpModelTable.begin(), kAddpModelTable.end(),
                                  [&](const ModelRow& r) { return r.hardwareType == hardwareType; });
    if (row == kAddpModelTable.end()) return false;
    if (capacity == 0) return true;
    const std::size_t length = std::min(row->name.size(), capacity - 1);
    std::memcpy(buffer, row->name.data(), length);
    buffer[length] = '\0';
    return true;
}

bool AddpPortCountForModel(std::string_view modelName, std::uint8_t& portCount) {
    const auto row = std::find_if(kAddpModelTable.begin(), kAddpModelTable.end(),
                                  [&](const ModelRow& r) { return r.name == modelName; });
    if (row == kAddpModelTable.end()) return false;
    portCount = row->ports;
    return true;
}
