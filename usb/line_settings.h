#pragma once
// The line speed and framing the next open of the link uses, taken from the window's lists.

// Takes the selected positions of the Baud rate and Transmission mode lists into the link's line
// settings. A list with no selected entry (the user typed a text of their own) leaves the settings
// it controls as they were. Any thread.
void UsbLatchLineSettings();
