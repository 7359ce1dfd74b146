#pragma once
// The states the console exchanges put the Configuration via USB window in, each a fixed set of
// its controls. Any thread: every change is carried out on the user-interface thread.

// Logging in: the connection fields, Connect and Refresh list off, Disconnect on.
void ShowLoggingIn();

// Ready for the next Connect: Disconnect off; Connect, Refresh list and the connection fields on.
// The status text is left as it is.
void ShowReadyToConnect();

// Ready to connect, status "Disconnected", the configuration controls and the file menu off.
void ShowLoggedOut();

// Status "Connected", the configuration controls and the file menu on.
void ShowConnected();
