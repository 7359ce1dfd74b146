#pragma once
// "Informacje": the converter's diagnostic reports over the open USB link, one button each, the
// reply listed line by line. A failed exchange closes the dialog and leaves the failure flag up,
// which tells the owner that the link is lost.

#include <array>
#include <chrono>
#include <cstdint>
#include <string_view>

#include "platform/ftdi.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

class CInfo : public platform::ui::CDialog {
public:
    explicit CInfo(platform::ui::CDialog* parent = nullptr);

    // The link's open handle, borrowed: set just before showing, never opened or closed here.
    void SetDevice(platform::FtdiHandle device) { m_hDevice = device; }
    // 1 after a failed command, 0 after one that worked; a showing without commands keeps it.
    std::int32_t HasFailed() const { return m_bFailed; }

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override;

private:
    static constexpr std::size_t kRxSize = 2000;

    // Blocks the user-interface thread for the exchange: up to about two and a quarter seconds.
    void RunCommand(std::string_view command, std::chrono::milliseconds pause);
    void EnableButtons(bool enable);
    std::string_view Reply() const;

    platform::ui::CListBox m_list;
    std::int32_t m_bFailed = 0;
    platform::FtdiHandle m_hDevice = platform::kNoFtdiHandle;
    platform::FtdiStatus m_ftStatus = platform::FtdiStatus::kOk;
    std::array<char, kRxSize> m_rxBuffer{};
    std::uint32_t m_dwToRead = kRxSize;
    std::uint32_t m_dwRead = 0;
    std::array<platform::ui::CButton, 5> m_buttons;
};
