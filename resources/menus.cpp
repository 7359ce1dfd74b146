// The menu bars: 153, the File menu of the Configuration via USB window.

#include "resources/menu_template.h"

namespace resources {
namespace {

constexpr MenuItemTemplate kFileItems[] = {
    {32771, "Save to file"},
    {32772, "Load from file"},
};

constexpr PopupTemplate kUsbWindowPopups[] = {
    {"File", kFileItems},
};

constexpr MenuTemplate kMenus[] = {
    {153, kUsbWindowPopups},
};

}  // namespace

const MenuTemplate* FindMenuTemplate(int id) {
    for (const MenuTemplate& menu : kMenus)
        if (menu.id == id) return &menu;
    return nullptr;
}

}  // namespace resources
