#pragma once
// Thin control objects over the widgets of an open dialog. A dialog binds each to its widget in
// its data exchange; while unbound (before the window exists, after it is gone) every call does
// nothing and every query answers empty. Every call may come from any thread: it is carried out
// on the user-interface thread while the caller waits.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/ui/ui_thread.h"

namespace platform::ui {

// The text a widget shows, whatever its kind (label, button, edit, combo box, IP field...).
QString WidgetText(const QWidget* widget);
void SetWidgetText(QWidget* widget, const QString& text);

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    void Attach(QWidget* widget) { m_widget = widget; }
    void Detach() { m_widget = nullptr; }
    bool IsAttached() const { return !m_widget.isNull(); }
    QWidget* Widget() const { return m_widget.data(); }

    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void ShowWindow(bool show);
    void SetWindowText(const QString& text);
    QString GetWindowText() const;
    void SetFocus();

protected:
    // Runs `call` with the widget on the UI thread; answers `otherwise` when there is no widget
    // of that kind.
    template <typename W, typename F, typename R = std::invoke_result_t<F&, W*>>
    R WithOr(R otherwise, F&& call) const {
        return CallOnUiThread([&]() -> R {
            auto* widget = qobject_cast<W*>(m_widget.data());
            return widget != nullptr ? call(widget) : otherwise;
        });
    }

    template <typename W, typename F>
    void With(F&& call) const {
        CallOnUiThread([&] {
            if (auto* widget = qobject_cast<W*>(m_widget.data())) call(widget);
        });
    }

private:
    QPointer<QWidget> m_widget;
};

}  // namespace platform::ui
