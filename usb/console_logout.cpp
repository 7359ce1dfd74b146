#include "lan_dialogs/progress.h"
#include "usb/console.h"
#include "usb/console_io.h"
#include "usb/exchange_log.h"
#include "usb/link.h"
#include "usb/window_states.h"

namespace {

constexpr int kTries = 6;
constexpr std::string_view kLogoutLine("exit\0\r", 6);

bool TryLogout() {
    const bool sent = UsbWriteLine(kLogoutLine);
    LogExchange("exit");
    if (!sent || !UsbReadReply()) return false;
    LogExchange(UsbReplyText());
    return !UsbReplyText().starts_with("login");
}

}  // namespace

LogoutResult ConsoleLogout(LogoutCaller caller) {
    ClearExchangeLog();
    if (!platform::IsOk(g_usbLink.lastStatus)) return LogoutResult::kUndecided;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (!TryLogout()) continue;
        ShowLoggedOut();
        if (caller == LogoutCaller::kDisconnect) UsbClose();
        return LogoutResult::kLoggedOut;
    }
    if (platform::IsOk(g_usbLink.lastStatus)) return LogoutResult::kUndecided;
    ShowLoggedOut();
    UsbClose();
    ReportConnectionError();
    if (caller == LogoutCaller::kConnect) g_dlgProgress.Finish();
    return LogoutResult::kFailed;
}
