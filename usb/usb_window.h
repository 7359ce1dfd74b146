#pragma once
// "Configuration via USB": picks a converter attached by USB, opens the link with the chosen
// speed and framing, logs in to the converter's console, reads and writes its settings, restarts
// it, shows its diagnostics and saves or loads its settings as a file. The link and the control
// objects are module-level and outlive the window; the window binds them each time it opens.

#include "platform/ui/dialog.h"
#include "usb/info_dialog.h"
#include "usb/worker_thread.h"

class CWLan : public platform::ui::CDialog {
public:
    explicit CWLan(platform::ui::CDialog* parent = nullptr);

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override;
    bool OnInitDialog() override;

private:
    void OnConnect();
    void OnDisconnect();
    void OnRefreshList();
    void OnDeviceInfo();
    void OnLoadConfiguration();
    void OnSaveConfiguration();
    void OnRestart();
    void OnCloseWindow();

    // Runs `work` behind the modal progress panel and returns once the worker has ended it.
    void RunBehindProgress(WorkerThread& worker, void (*work)());
    // After a worker that lost the link: nothing that needs a console stays usable.
    void DisableWhatNeedsTheConsole();

    CInfo m_info;
    WorkerThread m_connectWorker;
    WorkerThread m_loadWorker;
    WorkerThread m_applyWorker;
};
