#pragma once
// Our dialog base: a C++ object that outlives its window. DoModal creates the window from the
// dialog's template, runs the initialisation and a modal loop, and destroys the window when the
// loop ends; the object and its members stay. Commands are routed by control identifier, posted
// private messages by number; Enter reaches the default button (or OK), Escape and the close box
// reach Cancel (id 2). While its window exists the dialog is a message target: other threads
// may post to its handle.

#include <QDialog>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "platform/ui/data_exchange.h"
#include "platform/ui/template_builder.h"
#include "platform/window_messages.h"

namespace platform::ui {

class CMenu;

class DialogWindow;

class CDialog : public platform::MessageTarget {
public:
    explicit CDialog(int templateId, CDialog* parent = nullptr);
    // A dialog on a template of its own (for windows built in code and for tests).
    explicit CDialog(const resources::DialogTemplate& dialogTemplate, CDialog* parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog modally and returns the result EndDialog was given. UI thread only.
    int DoModal();
    // Ends the modal loop with this result. Any thread; an end asked for before the loop runs (a
    // worker that finished at once) is kept and honoured as soon as it starts.
    void EndDialog(int result);
    // Forgets an end asked for while no loop runs. UI thread.
    void DiscardEndRequest();

    // Loading (false) or saving (true) the members through DoDataExchange; false when saving
    // refused a value. UI thread.
    bool UpdateData(bool saveAndValidate = true);

    // Nullptr while the window does not exist or when no control has that identifier.
    QWidget* GetDlgItem(int id) const;
    QDialog* Window() const;
    platform::WindowHandle GetSafeHwnd() const { return m_handle; }
    const resources::DialogTemplate& Template() const { return *m_template; }

    // A timer whose ticks reach OnTimer; its period is program time. It ends with the window.
    void SetTimer(int id, unsigned periodMilliseconds);
    void KillTimer(int id);
    void CenterWindow();
    // Gives the open window the menu bar; its items reach the command handlers. UI thread.
    void SetMenu(CMenu& menu);

    // Carries out the command as a click on that control would. UI thread.
    void ExecuteCommand(int id);

    void Deliver(const platform::PostedMessage& message) override;

protected:
    virtual void DoDataExchange(DataExchange&) {}
    // Base: loads the members into the controls. Returning true lets the platform set the focus.
    virtual bool OnInitDialog();
    // Base: saves the members and ends the dialog with id 1 when that succeeded.
    virtual void OnOK();
    // Base: ends the dialog with id 2.
    virtual void OnCancel();
    virtual void OnTimer(int) {}
    // The window is about to go.
    virtual void OnDestroy() {}

    void OnCommand(int id, std::function<void()> handler);
    // The user picked an entry of the drop-down list with that identifier.
    void OnSelectionChange(int id, std::function<void()> handler);
    void OnMessage(unsigned message, std::function<void(std::uintptr_t first, std::intptr_t second)> handler);

    CDialog* Parent() const { return m_parent; }

private:
    friend class DialogWindow;
    friend class DataExchange;

    void CreateWindow();
    void DestroyWindow();
    void HonourEndRequest();
    void Dispatch(const platform::PostedMessage& message);
    void HandleEnter();
    const BuiltDialog& Built() const { return m_built; }

    const resources::DialogTemplate* m_template;
    CDialog* m_parent;
    std::unique_ptr<DialogWindow> m_window;
    BuiltDialog m_built;
    // Read by posting threads while the window registry is locked.
    std::atomic<platform::WindowHandle> m_handle{platform::kNoWindow};
    std::map<int, std::function<void()>> m_commands;
    std::map<int, std::function<void()>> m_selectionChanges;
    std::map<unsigned, std::function<void(std::uintptr_t, std::intptr_t)>> m_messages;
    std::map<int, class QTimer*> m_timers;

    // Lives with the object, not the window: what is queued to it is dropped with the dialog.
    // False once the dialog object is gone; calls queued for it from other threads check it.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    std::mutex m_endLock;
    bool m_endRequested = false;
    int m_endResult = 0;
    bool m_inModalLoop = false;  // UI thread only
};

}  // namespace platform::ui
