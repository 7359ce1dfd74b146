#include "app/finder_dlg.h"

#include <QIcon>
#include <memory>

#include "app/app_icon.h"
#include "lan_dialogs/config_ip.h"
#include "lan_dialogs/device_info.h"
#include "lan_dialogs/device_text.h"
#include "lan_dialogs/reboot.h"
#include "platform/ui/seams.h"
#include "resources/string_table.h"
#include "usb/usb_window.h"

namespace {

constexpr int kTemplate = 102;
constexpr int kList = 1021;
constexpr int kSearching = 1;
constexpr int kNothingSelected = 7;
constexpr int kInternalError = 8;
// Shown when a run found nothing; it has no entry in the string table.
const char* const kNoConverters = "Nie znaleziono urz\u0105dze\u0144";

struct Column {
    int title;
    int width;
};
constexpr Column kColumns[] = {{3, 129}, {4, 110}, {5, 110}, {6, 127}};

QString Text(int id) {
    const auto text = resources::LoadString(id);
    return text ? QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())) : QString();
}

}  // namespace

CFinderDlg::CFinderDlg(platform::ui::CDialog* parent) : CDialog(kTemplate, parent) {
    OnCommand(1001, [this] { OnOpenWebInterface(); });
    OnCommand(1002, [this] { OnConfigureIp(); });
    OnCommand(1006, [this] { OnConverterInfo(); });
    OnCommand(1005, [this] { OnReboot(); });
    OnCommand(1003, [this] { OnRefreshList(); });
    OnCommand(1004, [this] { OnConfigurationViaUsb(); });
    OnMessage(kStartMessage, [this](std::uintptr_t, std::intptr_t) { OnStartDiscovery(); });
    OnMessage(kCollectMessage, [this](std::uintptr_t, std::intptr_t) { OnCollect(); });
}

void CFinderDlg::DoDataExchange(platform::ui::DataExchange& dx) { dx.Control(kList, m_list); }

bool CFinderDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Window()->setWindowIcon(AppIcon());
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column)
        m_list.InsertColumn(column, Text(kColumns[column].title), kColumns[column].width);
    UpdateData(false);

    m_hAddp = AddpOpen(kAddpMagicDigi);
    if (m_hAddp == nullptr) {
        platform::ui::MessageBox(Text(kInternalError));
        return false;
    }
    OnRefreshList();
    return true;
}

void CFinderDlg::OnDestroy() {
    AddpStopDiscovery(m_hAddp);
    AddpClose(m_hAddp);
    m_hAddp = nullptr;
    DeleteAllRows();
}

void CFinderDlg::OnRefreshList() {
    if (m_hAddp == nullptr) {
        platform::ui::MessageBox(Text(kInternalError));
        return;
    }
    AddpStopDiscovery(m_hAddp);
    m_list.SetRedraw(false);
    DeleteAllRows();
    m_list.InsertItem(0, Text(kSearching));
    m_list.SetRedraw(true);
    // The run starts when the window comes back to its loop, so "Searching..." is painted first.
    platform::PostMessage(GetSafeHwnd(), kStartMessage, 0, 0);
}

void CFinderDlg::OnStartDiscovery() {
    if (m_hAddp == nullptr) {
        platform::ui::MessageBox(Text(kInternalError));
        return;
    }
    AddpStartDiscovery(m_hAddp, GetSafeHwnd(), kCollectMessage, 0);
}

void CFinderDlg::OnCollect() {
    if (m_list.GetItemText(0, 0) == Text(kSearching)) m_list.DeleteItem(0);
    while (AddpGetDeviceCount(m_hAddp) > 0) {
        auto record = std::make_unique<AddpDevice>();
        if (AddpGetDevices(m_hAddp, record.get(), 1) != 1) break;
        const int row = m_list.InsertItem(m_list.GetItemCount(), lan::Ipv4Text(record->ipAddress));
        m_list.SetItemText(row, 1, lan::MacText(record->mac));
        m_list.SetItemText(row, 2, lan::WireText(record->name));
        m_list.SetItemText(row, 3, lan::ShownModelName(record->modelName));
        m_list.SetItemData(row, reinterpret_cast<std::uintptr_t>(record.release()));
    }
    if (m_list.GetItemCount() > 0)
        m_list.SelectItem(0);
    else
        m_list.InsertItem(0, QString::fromUtf8(kNoConverters));
}

AddpDevice* CFinderDlg::SelectedRecord() const {
    const int row = m_list.GetFirstSelectedItem();
    return row < 0 ? nullptr : reinterpret_cast<AddpDevice*>(m_list.GetItemData(row));
}

void CFinderDlg::OnOpenWebInterface() {
    const AddpDevice* record = SelectedRecord();
    if (record == nullptr) {
        platform::ui::MessageBox(Text(kNothingSelected));
        return;
    }
    platform::ui::OpenUrl(QStringLiteral("http://%1").arg(lan::Ipv4Text(record->ipAddress)));
}

template <typename Dialog>
void CFinderDlg::RunOnSelected() {
    AddpDevice* record = SelectedRecord();
    if (record == nullptr) {
        platform::ui::MessageBox(Text(kNothingSelected));
        return;
    }
    Dialog dialog(this);
    dialog.m_pDevice = record;
    dialog.DoModal();
}

void CFinderDlg::OnConfigureIp() { RunOnSelected<CConfigIP>(); }
void CFinderDlg::OnConverterInfo() { RunOnSelected<CDeviceInfo>(); }
void CFinderDlg::OnReboot() { RunOnSelected<CReboot>(); }

void CFinderDlg::OnConfigurationViaUsb() {
    CWLan window;
    window.DoModal();
}

void CFinderDlg::DeleteAllRows() {
    for (int row = 0; row < m_list.GetItemCount(); ++row) delete reinterpret_cast<AddpDevice*>(m_list.GetItemData(row));
    m_list.DeleteAllItems();
}
