#include "platform/ui/cwnd.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/ui/ip_address_field.h"

namespace platform::ui {

QString WidgetText(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
    if (const auto* ip = qobject_cast<const IpAddressField*>(widget)) return ip->Text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) return text->toPlainText();
    return widget != nullptr ? widget->windowTitle() : QString();
}

void SetWidgetText(QWidget* widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->setText(text);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->setText(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->setText(text);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable()) return combo->setEditText(text);
        return combo->setCurrentIndex(combo->findText(text));
    }
    if (auto* ip = qobject_cast<IpAddressField*>(widget)) return ip->SetText(text);
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->setTitle(text);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) return plain->setPlainText(text);
    if (widget != nullptr) widget->setWindowTitle(text);
}

void CWnd::EnableWindow(bool enable) {
    With<QWidget>([&](QWidget* widget) { widget->setEnabled(enable); });
}

bool CWnd::IsWindowEnabled() const {
    return WithOr<QWidget>(false, [](QWidget* widget) { return widget->isEnabled(); });
}

void CWnd::ShowWindow(bool show) {
    With<QWidget>([&](QWidget* widget) { widget->setVisible(show); });
}

void CWnd::SetWindowText(const QString& text) {
    With<QWidget>([&](QWidget* widget) { SetWidgetText(widget, text); });
}

QString CWnd::GetWindowText() const {
    return WithOr<QWidget>(QString(), [](QWidget* widget) { return WidgetText(widget); });
}

void CWnd::SetFocus() {
    With<QWidget>([](QWidget* widget) { widget->setFocus(); });
}

}  // namespace platform::ui
