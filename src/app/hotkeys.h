// The two global hotkeys: one calls up the history list, the other
// pauses and resumes capturing.
#pragma once

constexpr int kHotkeyShowList = 100;
constexpr int kHotkeyPause = 101;

// Registers both hotkeys from the settings (after unregistering them),
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
