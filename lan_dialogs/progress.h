#pragma once
// The panel that keeps the user waiting while a worker thread talks to the converter. Its bar
// measures time, not work: one step per tick, full after a hundred ticks, and full it stays.

#include <cstdint>

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

class CProgres : public platform::ui::CDialog {
public:
    explicit CProgres(platform::ui::CDialog* parent = nullptr);

    // The tick period for the next showings. UI thread, before showing.
    void SetInterval(unsigned milliseconds);
    // Readies the panel for the worker about to start: its Finish ends the next showing, also
    // when it comes before the panel is up, and an end asked for earlier (meant for a showing
    // that is over) ends nothing. UI thread, before starting the worker.
    void ExpectFinish();
    // Ends the showing with 1; the only way it ends. Any thread; when it comes before the panel
    // is up, the showing ends as soon as its loop runs.
    void Finish();

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnTimer(int id) override;
    // Esc, the close box and Alt+F4 leave the panel up: the worker behind it is still talking to
    // the converter, and the window must not go on meanwhile.
    void OnCancel() override {}

private:
    platform::ui::CProgressCtrl m_progress;
    unsigned m_nInterval = 10;
};

// The one panel of the process, shown around every USB worker.
extern CProgres g_dlgProgress;
// Ticks of the current showing; UI thread only.
extern std::int32_t g_nProgressTicks;
