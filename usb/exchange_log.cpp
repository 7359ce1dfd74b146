#include "usb/exchange_log.h"

#include "usb/window_controls.h"

void LogExchange(std::string_view text) {
    g_lbLog.AddString(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void ClearExchangeLog() { g_lbLog.ResetContent(); }
