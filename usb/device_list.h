#pragma once
// Finding the attached converters for the window's Device list, and opening the one the user
// chose. A device goes by its entry text: the driver's description of it, ", COM " and its COM
// port number in decimal, all taken from the driver's device list. Only the chosen converter is
// ever opened: opening a serial device moves its modem lines, which resets what hangs on them.

#include <QString>

// "No device connected": the Device list's one entry when no converter is attached.
inline constexpr int kStringNoDevice = 16;

// Rebuilds the Device list from the attached converters (vendor 0x0403, product 0x6009), sorted,
// the first entry selected, and latches the line settings. No device is opened. A converter gets
// Connect enabled and Disconnect disabled; none gives the one entry "No device connected",
// Connect and Disconnect disabled and errorState 1. The connection fields end enabled. When the
// driver could not give its device list, the connection error is shown and errorState is 1.
// Any thread; the window's lists must be filled first.
void UsbEnumerate();

// Opens the converter of the last enumeration whose entry text equals `entry`, byte for byte, and
// gives it the latched line settings; it stays open even when they fail, with their result in
// lastStatus. No other device is opened. Returns false when no converter matched or it would not
// open: the connection error has then been shown once, errorState is 1 and the link is not open.
// Blocks only on the driver; any thread.
bool UsbOpenSelected(const QString& entry);
