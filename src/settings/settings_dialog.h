// The settings dialog: every option but the paused state and the window
// rectangles. OK stores the new values straight into the settings record
// (the caller then writes the INI file); a changed order of the data
// reverses the history list at once.
#pragma once

#include <windows.h>

// Returns 1 after OK, 2 after Cancel.
int ShowSettingsDialog(HWND owner);
