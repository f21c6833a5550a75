// The settings dialog: every option but the paused state and the window
// rectangles, shown from the record it is given. OK stores the new values
// into that record; the caller then applies them.
#pragma once

#include <windows.h>

#include "settings/settings.h"

// Returns 1 after OK, 2 after Cancel.
int ShowSettingsDialog(HWND owner, Settings* edited);
