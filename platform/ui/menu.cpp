#include "platform/ui/menu.h"

#include <QAction>
#include <QMenu>

#include "platform/ui/ui_thread.h"

namespace platform::ui {

bool CMenu::LoadMenu(int id) {
    m_template = resources::FindMenuTemplate(id);
    return m_template != nullptr;
}

void CMenu::EnableMenuItem(int command, bool enable) {
    CallOnUiThread([&] {
        const auto found = m_items.find(command);
        if (found != m_items.end() && found->second) found->second->setEnabled(enable);
    });
}

bool CMenu::IsMenuItemEnabled(int command) const {
    return CallOnUiThread([&] {
        const auto found = m_items.find(command);
        return found != m_items.end() && found->second && found->second->isEnabled();
    });
}

void CMenu::BuildInto(QWidget& window, std::function<void(int command)> onCommand) {
    if (m_template == nullptr) return;
    m_items.clear();
    const QObjectList held = window.children();
    auto* bar = new QMenuBar(&window);
    for (const resources::PopupTemplate& popup : m_template->popups) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(popup.text.data(), static_cast<qsizetype>(popup.text.size())));
        for (const resources::MenuItemTemplate& item : popup.items) {
            QAction* action =
                menu->addAction(QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
            const int command = item.command;
            QObject::connect(action, &QAction::triggered, &window, [onCommand, command] { onCommand(command); });
            m_items[command] = action;
        }
    }
    // The template's places are below the bar, as a menu bar takes its height off the client area.
    const int height = bar->sizeHint().height();
    for (QObject* child : held)
        if (auto* widget = qobject_cast<QWidget*>(child); widget != nullptr && !widget->isWindow())
            widget->move(widget->x(), widget->y() + height);
    window.setFixedSize(window.width(), window.height() + height);
    bar->setGeometry(0, 0, window.width(), height);
    m_bar = bar;
}

}  // namespace platform::ui
