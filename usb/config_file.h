#pragma once
// Saving the window's six converter settings to a file and loading them back. Only the controls
// are touched, never the converter: applying what was loaded is a separate step.

#include <QString>

// The window's "Save to file": asks for a path (proposing "TQ7_config.txt") and writes the six
// lines. UI thread; returns when done.
void OnSaveToFile();

// The window's "Load from file": asks for a file and puts its six values into the fields as
// their shown texts, selecting no list entry. UI thread; returns when done.
void OnLoadFromFile();

// The file text of the profile list's selected position; empty when none is selected.
QString ProfileFileText();
