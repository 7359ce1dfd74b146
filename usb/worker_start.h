#pragma once
// What the load and apply workers do first.

#include "usb/link.h"

// A refusal was shown when it happened and concerns that one command; left standing it would
// make the next read or write skip every command without a word.
inline void ForgetEarlierRefusal() {
    if (g_usbLink.errorState == kSetRefused) g_usbLink.errorState = kNoError;
}
