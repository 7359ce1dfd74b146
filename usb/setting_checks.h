#pragma once
// Before the window's settings are applied to the converter or saved to a file: each list must
// have an entry selected and each address field must be blank or whole, or what is sent or
// written would not be what the window shows.

// True when the settings can go as they stand. Otherwise the first field that cannot is named,
// with what it shows, in a message box, and the answer is false. `withAddresses`: whether the
// three address fields go along. UI thread.
bool SettingsMeanWhatTheyShow(bool withAddresses);
