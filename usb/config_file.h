#pragma once
// Saving the window's six converter settings to a file and loading them back. Only the controls
// are touched, never the converter: applying what was loaded is a separate step.

#include <QString>

// The window's "Save to file": asks for a path (proposing "TQ7_config.txt") and writes the six
// lines, each value as the window shows it. A list with no entry selected or a partly filled
// address field is refused with a message before anything is asked or written. UI thread;
// returns when done.
void OnSaveToFile();

// The window's "Load from file": asks for a file and puts its six values into the fields. Each
// list selects the entry whose file text the value is, exactly; a value that is none shows as
// the list's text with no entry selected. A value that is no whole address blanks its field.
// UI thread; returns when done.
void OnLoadFromFile();

// The file text of the profile list's selected position; empty when none is selected.
QString ProfileFileText();
