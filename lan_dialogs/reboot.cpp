#include "lan_dialogs/reboot.h"

#include <QWidget>
#include <chrono>
#include <optional>
#include <string>

#include "lan_dialogs/device_text.h"
#include "lan_dialogs/engine_status.h"
#include "lan_dialogs/request_password.h"
#include "platform/time.h"
#include "platform/ui/busy_wait.h"
#include "platform/ui/seams.h"

namespace {

constexpr int kTemplateId = 139;
constexpr int kStatus = 1032;
constexpr int kPassword = 1034;
constexpr int kName = 1035;
constexpr int kMac = 1036;
constexpr int kRebootButton = 1043;

// The module needs a while to come back; an unanswered query costs a whole request deadline.
constexpr int kRetries = 40;
constexpr auto kRetryPause = std::chrono::milliseconds(500);

}  // namespace

CReboot::CReboot(platform::ui::CDialog* parent) : CDialog(kTemplateId, parent) {
    OnCommand(kRebootButton, [this] { OnReboot(); });
}

void CReboot::DoDataExchange(platform::ui::DataExchange& dx) {
    dx.Text(kName, m_strName);
    dx.Text(kMac, m_strMac);
    // Its limit is counted in the bytes the request carries, when Reboot sends it.
    dx.Text(kPassword, m_strPassword);
    dx.Text(kStatus, m_strStatus);
}

bool CReboot::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pDevice == nullptr) return true;
    lan::ApplyModelNameRule(*m_pDevice);
    m_strMac = lan::MacText(m_pDevice->mac);
    m_strName = lan::WireText(m_pDevice->modelName);
    // Also empties the status line, which the template fills with a placeholder.
    UpdateData(false);
    return true;
}

void CReboot::OnReboot() {
    if (m_pDevice == nullptr) return;
    // A failed open is not tested here: the request then fails on the dead instance and says so.
    const AddpHandle instance = AddpOpen(kAddpMagicDigi);
    if (UpdateData(true)) {
        if (const std::optional<std::string> password = lan::PasswordForRequest(m_strPassword)) {
            const int result = RebootAndWait(instance, *password);
            if (result != 0)
                platform::ui::MessageBox(
                    lan::FailureText(lan::LastStatus(instance), result, QStringLiteral("rebooting")));
        }
    }
    AddpClose(instance);
}

int CReboot::RebootAndWait(AddpHandle instance, const std::string& password) {
    // From the request to the last poll the window thread is held, for minutes at worst.
    const platform::ui::BusyWait busy;
    const int result = AddpReboot(instance, m_pDevice->mac, password.c_str());
    if (result != 0) return result;
    ShowStatus(QStringLiteral("Status: Rebooting"));
    const bool answered = WaitUntilAnswering(instance);
    ShowStatus(answered ? QStringLiteral("Status: Ready") : QStringLiteral("Status: Timed out"));
    return result;
}

bool CReboot::WaitUntilAnswering(AddpHandle instance) const {
    AddpDevice answer{};
    if (AddpQueryDevice(instance, m_pDevice->mac, &answer) == 0) return true;
    for (int retry = 0; retry < kRetries; ++retry) {
        platform::SleepFor(kRetryPause);
        if (AddpQueryDevice(instance, m_pDevice->mac, &answer) == 0) return true;
    }
    return false;
}

void CReboot::ShowStatus(const QString& status) {
    m_strStatus = status;
    UpdateData(false);
    // The handler holds the window thread for minutes: paint the line now, not when it returns.
    if (QWidget* line = GetDlgItem(kStatus)) line->repaint();
}
