#include "usb/info_dialog.h"

#include <algorithm>
#include <string>

#include "platform/time.h"
#include "platform/ui/seams.h"
#include "usb/console_io.h"
#include "usb/info_lines.h"

namespace {

using namespace std::chrono_literals;

constexpr int kTemplateId = 149;
constexpr int kList = 1077;

struct InfoCommand {
    int button;
    std::string_view text;
    std::chrono::milliseconds pause;  // the converter takes a while over these two reports
};

constexpr std::array<InfoCommand, 5> kCommands{{
    {1043, "display device", 0ms},
    {1070, "show ethernet", 0ms},
    {1071, "show network", 1200ms},
    {1072, "display uptime", 0ms},
    {1075, "show permissions", 1200ms},
}};

}  // namespace

CInfo::CInfo(platform::ui::CDialog* parent) : CDialog(kTemplateId, parent) {
    for (const InfoCommand& command : kCommands)
        OnCommand(command.button, [this, command] { RunCommand(command.text, command.pause); });
}

void CInfo::DoDataExchange(platform::ui::DataExchange& dx) {
    dx.Control(kList, m_list);
    for (std::size_t i = 0; i < kCommands.size(); ++i) dx.Control(kCommands[i].button, m_buttons[i]);
}

void CInfo::EnableButtons(bool enable) {
    for (platform::ui::CButton& button : m_buttons) button.EnableWindow(enable);
}

std::string_view CInfo::Reply() const {
    const std::string_view received(m_rxBuffer.data(), std::min<std::size_t>(m_dwRead, m_rxBuffer.size()));
    return received.substr(0, received.find('\0'));
}

// No purge first: whatever still waits from earlier traffic becomes the start of the reply.
void CInfo::RunCommand(std::string_view command, std::chrono::milliseconds pause) {
    EnableButtons(false);
    m_rxBuffer.fill(' ');
    m_list.ResetContent();
    m_bFailed = 0;

    bool failed = !platform::IsOk(WriteByteByByte(m_hDevice, std::string(command) + '\n', m_ftStatus));
    if (!failed) {
        if (pause.count() > 0) platform::SleepFor(pause);
        m_dwRead = 0;
        m_ftStatus = platform::DefaultFtdiDriver().Read(
            m_hDevice, std::span(m_rxBuffer.data(), std::min<std::size_t>(m_dwToRead, m_rxBuffer.size())), m_dwRead);
        // Case-sensitive, and an "Error" inside the echo counts too.
        failed = !platform::IsOk(m_ftStatus) || Reply().find("Error") != std::string_view::npos;
    }
    if (failed) {
        m_bFailed = 1;
        EndDialog(platform::ui::kIdCancel);
    } else {
        for (const std::string& line : InfoReplyLines(Reply()))
            m_list.AddString(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    }
    EnableButtons(true);
}
