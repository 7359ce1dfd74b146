#pragma once
// Menu bars as data: pop-up menus of items, each item a command identifier and its text.

#include <span>
#include <string_view>

namespace resources {

struct MenuItemTemplate {
    int command;
    std::string_view text;
};

struct PopupTemplate {
    std::string_view text;
    std::span<const MenuItemTemplate> items;
};

struct MenuTemplate {
    int id;
    std::span<const PopupTemplate> popups;
};

// Nullptr when there is no menu with that identifier.
const MenuTemplate* FindMenuTemplate(int id);

}  // namespace resources
