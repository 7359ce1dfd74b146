#include "lan_dialogs/reboot.h"

#include <QWidget>
#include <chrono>

#include "lan_dialogs/device_text.h"
#include "lan_dialogs/engine_status.h"
#include "platform/time.h"
#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"
#include "platform/ui/wait_cursor.h"

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
    dx.Text(kPassword, m_strPassword);
    // The engine refuses a longer password without sending anything, which would look like silence.
    dx.MaxChars(kPassword, m_strPassword, static_cast<int>(kAddpMaxPassword));
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
        const QByteArray password = m_strPassword.toUtf8();
        const int result = AddpReboot(instance, m_pDevice->mac, password.constData());
        if (result != 0) {
            ReportResult(instance, result);
        } else {
            ShowStatus(QStringLiteral("Status: Rebooting"));
            const platform::ui::WaitCursor busy;
            const bool answered = WaitUntilAnswering(instance);
            ShowStatus(answered ? QStringLiteral("Status: Ready") : QStringLiteral("Status: Timed out"));
        }
    }
    AddpClose(instance);
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

void CReboot::ReportResult(AddpHandle instance, int result) {
    const lan::EngineStatus status = lan::LastStatus(instance);
    QString message;
    if (status.code != 0) {
        message = QStringLiteral("An Error occured while rebooting the converter.\nError Number: %1\nError Message: %2\n")
                      .arg(QString::number(status.code), status.text);
    } else if (result < 0) {
        // The engine's -1 with its own status untouched: nothing came back before the deadline.
        message = platform::ui::TableText(lan::kStringNoAnswer);
    } else {
        message = platform::ui::TableText(lan::kStringRefused);
        if (!status.text.isEmpty()) message += QLatin1Char('\n') + status.text;
    }
    platform::ui::MessageBox(message);
}
