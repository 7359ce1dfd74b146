#include "usb/line_settings.h"

#include <cstddef>

#include "settings/value_tables.h"
#include "usb/link.h"
#include "usb/window_controls.h"

namespace {

template <typename Table>
const typename Table::value_type* Selected(const platform::ui::CComboBox& list, const Table& table) {
    const int position = list.GetCurSel();
    if (position < 0 || static_cast<std::size_t>(position) >= table.size()) return nullptr;
    return &table[static_cast<std::size_t>(position)];
}

}  // namespace

void UsbLatchLineSettings() {
    if (const auto* rate = Selected(g_cbBaudRate, settings::kBaudRates)) g_usbLink.baudRate = rate->rate;
    if (const auto* mode = Selected(g_cbLineMode, settings::kLineModes)) {
        g_usbLink.wordLength = mode->wordLength;
        g_usbLink.stopBits = mode->stopBits;
        g_usbLink.parity = mode->parity;
    }
}
