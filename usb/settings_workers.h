#pragma once
// The two workers that move the window's settings to and from the converter over the logged-in
// console. The window runs each behind the modal progress panel (one at a time, so the link has
// one user); each hands its control changes to the user-interface thread, shows its messages
// from its own thread and ends g_dlgProgress on every way out. Their outcome is errorState.

#include <string_view>

// Reads "show network", "show ethernet" and "show profile" into the window, a second apart, and
// says "Configuration loaded". A lost link skips what is left, disconnects the window and shows
// the connection error. Thread procedure; blocks a few seconds.
void LoadWorker();

// Each a "show" exchange whose reply goes into the window; nothing at all while errorState is
// not 0, and errorState 1 on a driver failure. QuerySerialProfile also says "Configuration
// loaded". Load worker's thread.
void QueryNetworkSettings();
void QueryEthernetSettings();
void QuerySerialProfile();

// Writes the window's settings with "set" commands: the address, mask and gateway only for a
// static address, then DHCP, speed and profile, stopping at the first command that fails. A lost
// link disconnects the window and shows the connection error; a refusal has been shown by the
// console exchange; otherwise "Configuration saved". Thread procedure; about a second a command.
void ApplyWorker();

// One "set" command with `value` (see SetCommandLine); its outcome is errorState.
void SendSetting(std::string_view prefix, std::string_view value);
