#include "platform/ui/dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <chrono>

#include "platform/time.h"
#include "platform/ui/combo_box_widget.h"
#include "platform/ui/menu.h"
#include "platform/ui/owner_window.h"
#include "platform/ui/seams.h"
#include "platform/ui/ui_thread.h"

namespace platform::ui {

// The window of a dialog: hands keys, the close box and its widgets' signals to the dialog.
class DialogWindow : public QDialog {
public:
    DialogWindow(CDialog& dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (Blocked()) return event->ignore();
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter: return m_dialog.HandleEnter();
            case Qt::Key_Escape: return m_dialog.ExecuteCommand(kIdCancel);
            default: QDialog::keyPressEvent(event);
        }
    }
    void closeEvent(QCloseEvent* event) override {
        // The loop ends through EndDialog only; the close box asks for Cancel.
        event->ignore();
        if (!Blocked()) m_dialog.ExecuteCommand(kIdCancel);
    }

private:
    // While a modal window opened by one of this dialog's handlers is up, the handler is still
    // running: like the platform's disabled owner window, this one then takes no keys and no
    // close request, or Cancel would pull the ground from under that handler.
    bool Blocked() const {
        const QWidget* modal = QApplication::activeModalWidget();
        return modal != nullptr && modal != this;
    }

    CDialog& m_dialog;
};

CDialog::CDialog(int templateId, CDialog* parent)
    : m_template(resources::FindDialogTemplate(templateId)), m_parent(parent) {}

CDialog::CDialog(const resources::DialogTemplate& dialogTemplate, CDialog* parent)
    : m_template(&dialogTemplate), m_parent(parent) {}

CDialog::~CDialog() {
    DestroyWindow();
    *m_alive = false;
}

void CDialog::CreateWindow() {
    QWidget* owner = m_parent != nullptr ? m_parent->Window() : OwnerWindow();
    m_window = std::make_unique<DialogWindow>(*this, owner);
    QDialog& window = *m_window;
    const std::uint32_t style = m_template->style;
    if (style & resources::kChild) {
        window.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    } else {
        Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & resources::kMinimizeBox) flags |= Qt::WindowMinimizeButtonHint;
        if (style & resources::kMaximizeBox) flags |= Qt::WindowMaximizeButtonHint;
        window.setWindowFlags(flags);
    }
    window.setWindowTitle(QString::fromUtf8(m_template->caption.data(), static_cast<qsizetype>(m_template->caption.size())));
    m_built = BuildControls(*m_template, window);
    for (const BuiltControl& control : m_built.controls) {
        const int id = control.control->id;
        if (auto* button = qobject_cast<QAbstractButton*>(control.widget))
            QObject::connect(button, &QAbstractButton::clicked, &window, [this, id] { ExecuteCommand(id); });
        if (auto* combo = qobject_cast<ComboBoxWidget*>(control.widget))
            QObject::connect(combo, &ComboBoxWidget::SelectionChanged, &window, [this, id] {
                if (const auto found = m_selectionChanges.find(id); found != m_selectionChanges.end()) found->second();
            });
    }
    m_handle = platform::RegisterWindow(*this);
}

void CDialog::DestroyWindow() {
    if (!m_window) return;
    OnDestroy();
    platform::UnregisterWindow(m_handle);
    m_handle = platform::kNoWindow;
    m_timers.clear();
    m_built = {};
    m_window.reset();
}

int CDialog::DoModal() {
    if (m_template == nullptr) return -1;
    CreateWindow();
    if (OnInitDialog()) {
        // The first control that takes the keyboard gets it, as the platform would choose.
        for (const BuiltControl& control : m_built.controls)
            if (control.widget->focusPolicy() != Qt::NoFocus && control.widget->isEnabled()) {
                control.widget->setFocus();
                break;
            }
    }
    if (m_template->style & resources::kCentred) CenterWindow();
    // Runs once the loop is up, so that an end asked for earlier is not lost.
    QTimer::singleShot(0, m_window.get(), [this] {
        m_inModalLoop = true;
        HonourEndRequest();
    });
    const int result = m_window->exec();
    m_inModalLoop = false;
    {
        std::lock_guard guard(m_endLock);
        m_endRequested = false;
    }
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int result) {
    {
        std::lock_guard guard(m_endLock);
        m_endRequested = true;
        m_endResult = result;
    }
    // Never waits: the window may not exist yet, and then the request waits for the loop to start.
    PostToUiThread([this, alive = m_alive] {
        if (*alive) HonourEndRequest();
    });
}

void CDialog::DiscardEndRequest() {
    if (m_inModalLoop) return;
    std::lock_guard guard(m_endLock);
    m_endRequested = false;
}

void CDialog::HonourEndRequest() {
    if (!m_inModalLoop || !m_window) return;
    int result = 0;
    {
        std::lock_guard guard(m_endLock);
        if (!m_endRequested) return;
        result = m_endResult;
    }
    m_window->done(result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (!m_window) return false;
    DataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto found = m_built.byId.find(id);
    return found != m_built.byId.end() ? found->second : nullptr;
}

QDialog* CDialog::Window() const { return m_window.get(); }

void CDialog::SetTimer(int id, unsigned periodMilliseconds) {
    if (!m_window) return;
    QTimer*& timer = m_timers[id];
    if (timer == nullptr) {
        timer = new QTimer(m_window.get());
        QObject::connect(timer, &QTimer::timeout, m_window.get(), [this, id] { OnTimer(id); });
    }
    const auto period = platform::Scaled(std::chrono::milliseconds(periodMilliseconds));
    timer->start(std::max(1, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(period).count())));
}

void CDialog::KillTimer(int id) {
    const auto found = m_timers.find(id);
    if (found == m_timers.end()) return;
    found->second->stop();
}

void CDialog::CenterWindow() {
    if (!m_window) return;
    const QWidget* over = m_window->parentWidget();
    const QRect area = over != nullptr ? over->frameGeometry() : m_window->screen()->availableGeometry();
    m_window->move(area.center() - m_window->rect().center());
}

void CDialog::SetMenu(CMenu& menu) {
    if (m_window) menu.BuildInto(*m_window, [this](int command) { ExecuteCommand(command); });
}

void CDialog::ExecuteCommand(int id) {
    if (const auto found = m_commands.find(id); found != m_commands.end()) return found->second();
    if (id == kIdOk) return OnOK();
    if (id == kIdCancel) return OnCancel();
}

void CDialog::HandleEnter() {
    // A focused push button takes Enter itself; otherwise the default button, or OK.
    if (auto* focused = qobject_cast<QPushButton*>(m_window ? m_window->focusWidget() : nullptr)) {
        if (focused->isEnabled()) focused->click();
        return;
    }
    const int id = m_built.defaultButtonId != 0 ? m_built.defaultButtonId : kIdOk;
    const QWidget* button = GetDlgItem(id);
    if (button != nullptr && !button->isEnabled()) return;
    if (button != nullptr || m_commands.contains(id)) ExecuteCommand(id);
}

void CDialog::Deliver(const platform::PostedMessage& message) {
    // The handle is looked at again on arrival: a window closed meanwhile gets nothing.
    PostToUiThread([this, alive = m_alive, handle = m_handle.load(), message] {
        if (*alive && m_handle == handle) Dispatch(message);
    });
}

void CDialog::Dispatch(const platform::PostedMessage& message) {
    if (const auto found = m_messages.find(message.message); found != m_messages.end())
        found->second(message.first, message.second);
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(kIdOk);
}

void CDialog::OnCancel() { EndDialog(kIdCancel); }

void CDialog::OnCommand(int id, std::function<void()> handler) { m_commands[id] = std::move(handler); }

void CDialog::OnSelectionChange(int id, std::function<void()> handler) { m_selectionChanges[id] = std::move(handler); }

void CDialog::OnMessage(unsigned message, std::function<void(std::uintptr_t, std::intptr_t)> handler) {
    m_messages[message] = std::move(handler);
}

}  // namespace platform::ui
