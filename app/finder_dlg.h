#pragma once
// The main window: the converters found on the LAN, one row per reply, and the commands on the
// selected one. It owns one engine instance for its whole life and each row owns a copy of its
// converter's record.

#include "engine/addp.h"
#include "platform/ui/dialog.h"
#include "platform/ui/list_ctrl.h"

class CFinderDlg : public platform::ui::CDialog {
public:
    static constexpr unsigned kStartMessage = platform::kWmApp + 1;
    static constexpr unsigned kCollectMessage = platform::kWmApp + 2;

    explicit CFinderDlg(platform::ui::CDialog* parent = nullptr);

    // The engine instance while the window exists; nullptr when opening it failed.
    AddpHandle Engine() const { return m_hAddp; }

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnDestroy() override;

private:
    void OnOpenWebInterface();
    void OnConfigureIp();
    void OnConverterInfo();
    void OnReboot();
    void OnRefreshList();
    void OnConfigurationViaUsb();
    void OnStartDiscovery();
    void OnCollect();

    // The record of the first selected row; nullptr for a status row or no selection.
    AddpDevice* SelectedRecord() const;
    template <typename Dialog>
    void RunOnSelected();
    void DeleteAllRows();

    platform::ui::CListCtrl m_list;
    AddpHandle m_hAddp = nullptr;
};
