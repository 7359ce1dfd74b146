#include <chrono>
#include <string>

#include "lan_dialogs/progress.h"
#include "platform/time.h"
#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"
#include "usb/console.h"
#include "usb/console_io.h"
#include "usb/exchange_log.h"
#include "usb/link.h"
#include "usb/setting_fields.h"
#include "usb/window_controls.h"
#include "usb/window_states.h"

namespace {

constexpr int kTries = 6;
constexpr std::uint32_t kTimeoutMs = 1000;
constexpr auto kPauseBeforeTry = std::chrono::milliseconds(100);

constexpr std::string_view kWakeUp("\0\r", 2);
constexpr std::string_view kPrompt = "#>";
constexpr std::string_view kLoginIncorrect = "Login incorrect";
// A shorter answer to the password cannot be the console's welcome.
constexpr std::uint32_t kShortestWelcome = 5;

constexpr int kStringWrongLogin = 10;
constexpr int kStringFillBoth = 18;

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// The user name goes with a NUL before its carriage return, as the wake-up line does (the two
// share their ending); the password without one.
bool TryLogin(std::string_view login, std::string_view password) {
    platform::SleepFor(kPauseBeforeTry);
    ClearReceiveBuffer();
    std::string loginLine(login);
    loginLine.append(kWakeUp);
    bool sent = UsbWriteLine(loginLine);
    LogExchange(login);
    if (!sent || !UsbReadReply()) return false;
    // Still at the prompt: the console did not take the line as a user name.
    const bool answeredWithPrompt = UsbReplyText().starts_with(kPrompt);
    LogExchange(UsbReplyText());

    ClearReceiveBuffer();
    sent = UsbWriteLine(std::string(password) + '\r');
    LogExchange(password);
    if (!sent || !UsbReadReply()) return false;
    LogExchange(UsbReplyText());
    if (answeredWithPrompt || g_usbLink.rxCount < kShortestWelcome) return false;
    // A refused password is answered at length too; taking it for a login would leave every
    // later command talking to the login prompt.
    return !Contains(UsbReplyText(), kLoginIncorrect);
}

}  // namespace

ConsoleStand ConsoleProbe() {
    platform::DefaultFtdiDriver().SetTimeouts(g_usbLink.handle, kTimeoutMs, kTimeoutMs);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const bool sent = UsbWriteLine(kWakeUp);
        LogExchange({});
        if (!sent || !UsbReadReply()) {
            g_usbLink.errorState = kLinkFailed;
            return ConsoleStand::kFailed;
        }
        const std::string_view reply = UsbReplyText();
        LogExchange(reply);
        // Asked first: a reply holding both comes from the login prompt.
        if (Contains(reply, kLoginIncorrect)) return ConsoleStand::kAtLoginPrompt;
        if (Contains(reply, kPrompt)) return ConsoleStand::kLoggedIn;
    }
    g_usbLink.errorState = kLinkFailed;
    return ConsoleStand::kFailed;
}

bool ConsoleLogin(std::string_view login, std::string_view password) {
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (!TryLogin(login, password)) continue;
        g_usbLink.errorState = kNoError;
        ShowConnected();
        platform::ui::MessageBox(platform::ui::TableText(kStringConnected));
        g_dlgProgress.Finish();
        return true;
    }
    g_usbLink.errorState = kLinkFailed;
    SetStatusText(kStringDisconnected);
    ShowReadyToConnect();
    UsbClose();
    if (!platform::IsOk(g_usbLink.lastStatus))
        ReportConnectionError();
    else
        platform::ui::MessageBox(platform::ui::TableText(kStringWrongLogin));
    g_dlgProgress.Finish();
    return false;
}

void ConsoleConnect() {
    // Taken once: the whole login goes with these lengths.
    const QByteArray loginBytes = g_strLogin.toUtf8();
    const QByteArray passwordBytes = g_strPassword.toUtf8();
    if (loginBytes.isEmpty() || passwordBytes.isEmpty()) {
        g_usbLink.errorState = kLinkFailed;
        UsbClose();
        platform::ui::MessageBox(platform::ui::TableText(kStringFillBoth));
        g_dlgProgress.Finish();
        return;
    }
    switch (ConsoleProbe()) {
        case ConsoleStand::kLoggedIn:
            // Every connect ends with a login by the user the window names, not by whoever was
            // left logged in.
            if (ConsoleLogout(LogoutCaller::kConnect) == LogoutResult::kFailed) return;
            [[fallthrough]];
        case ConsoleStand::kAtLoginPrompt:
            ShowLoggingIn();
            ConsoleLogin(View(loginBytes), View(passwordBytes));
            return;
        case ConsoleStand::kFailed:
            ShowReadyToConnect();
            ReportConnectionError();
            UsbClose();
            g_dlgProgress.Finish();
            return;
    }
}
