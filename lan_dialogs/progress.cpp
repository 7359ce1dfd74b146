#include "lan_dialogs/progress.h"

#include <limits>

namespace {

constexpr int kTemplateId = 151;
constexpr int kBar = 1084;
constexpr int kTickTimer = 1;

}  // namespace

// Built before the application object exists; the window comes only with the first showing.
CProgres g_dlgProgress;
std::int32_t g_nProgressTicks = 0;

CProgres::CProgres(platform::ui::CDialog* parent) : CDialog(kTemplateId, parent) {}

void CProgres::SetInterval(unsigned milliseconds) { m_nInterval = milliseconds; }

void CProgres::ExpectFinish() { DiscardEndRequest(); }

// The framework keeps an end asked for before the loop runs, so a worker that fails at once
// cannot leave the panel up.
void CProgres::Finish() { EndDialog(1); }

void CProgres::DoDataExchange(platform::ui::DataExchange& dx) { dx.Control(kBar, m_progress); }

bool CProgres::OnInitDialog() {
    SetTimer(kTickTimer, m_nInterval);
    g_nProgressTicks = 0;
    CDialog::OnInitDialog();
    CenterWindow();
    m_progress.SetRange(0, 100);
    m_progress.SetPos(1);
    return true;
}

void CProgres::OnTimer(int) {
    m_progress.SetPos(g_nProgressTicks);
    // The bar is long full by then; stopping short of the top keeps the count defined.
    if (g_nProgressTicks < std::numeric_limits<std::int32_t>::max()) ++g_nProgressTicks;
}
