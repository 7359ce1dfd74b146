#pragma once
// A dialog's menu bar, built from a menu template. The dialog routes a chosen item to its command
// handler by the item's identifier. Items are switched by identifier from any thread (the call is
// carried out on the user-interface thread); while no window holds the menu, calls do nothing.

#include <QMenuBar>
#include <QPointer>
#include <functional>
#include <map>

#include "resources/menu_template.h"

namespace platform::ui {

class CMenu {
public:
    // Takes the menu's template; false when there is no menu with that identifier.
    bool LoadMenu(int id);

    // A disabled item is grayed and cannot be chosen.
    void EnableMenuItem(int command, bool enable);
    bool IsMenuItemEnabled(int command) const;  // false also for an unknown item

    // Puts the bar at the top of `window`, moves what the window holds down by its height, and
    // sends each chosen item's identifier to `onCommand`. UI thread; done by CDialog::SetMenu.
    void BuildInto(QWidget& window, std::function<void(int command)> onCommand);

private:
    const resources::MenuTemplate* m_template = nullptr;
    QPointer<QMenuBar> m_bar;
    std::map<int, QPointer<QAction>> m_items;  // UI thread only
};

}  // namespace platform::ui
