// The settings dialog: every option but the paused state and the window
// rectangles, shown from the record it is given. OK stores the new values
// into that record; the caller then applies them.
#pragma once

#include <windows.h>

#include "settings/settings.h"
#include "settings/startup_link.h"

// What OK did to the sign-in shortcut, which is no setting: the box
// shows whether `link` is there, and OK makes or removes it at once.
enum class LinkOutcome { kDone, kNotMade, kNotRemoved };

// Returns 1 after OK, 2 after Cancel. `outcome` says whether the
// shortcut could be changed as the box asked; the settings are taken
// either way.
int ShowSettingsDialog(HWND owner, Settings* edited, const StartupLink& link,
                       LinkOutcome* outcome);
