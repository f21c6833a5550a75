// The global hotkeys: one calls up the history list, one pauses and
// resumes capturing, and one, when the user has chosen it, calls up the
// fixed phrases.
#pragma once

constexpr int kHotkeyShowList = 100;
constexpr int kHotkeyPause = 101;
constexpr int kHotkeyPhrases = 102;

// Registers the hotkeys from the settings (after unregistering them),
// and watches for the double press of Ctrl when the settings ask for it.
// A combination that another program holds does not work until the next
// registration.
void RegisterHotKeys();
void UnregisterHotKeys();
// Tells the user which combinations the last registration could not
// have, once: the start tells them after its window is made, not from
// inside its making, and the settings dialog after the user changed them.
void TellTakenHotKeys();

// Pauses capturing, or resumes it, and shows the matching tray icon.
void TogglePause();

void OnHotKey(int id);
