#pragma once
// The window's hidden exchange log: one entry per line sent and per reply, kept for whoever
// looks into the window's state. Entries hold the bytes one character each, whatever they are.

#include <string_view>

// Any thread; the entry is added on the user-interface thread while the caller waits.
void LogExchange(std::string_view text);
void ClearExchangeLog();
