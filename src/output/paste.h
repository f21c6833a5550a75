// Typing the paste into the control the user was working in: the control
// is given the keyboard focus again, its window brought to the front, and
// Ctrl+V typed into it.
#pragma once

#include <windows.h>

// The control the user is typing in: the focus of the window in front, or
// that window itself when no control of it has the focus.
HWND ForegroundFocus();

// Shift, Ctrl and Alt as the list view last saw them.
struct HeldModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};
// Lets go of the keys held, so that they do not turn the Ctrl+V into
// another command in the target.
void ReleaseHeldModifiers(const HeldModifiers& held);

enum class PasteOutcome {
  kTyped,
  kTargetGone,      // the target is gone or could not be brought to the front
  kTargetElevated,  // its program runs above ours: the keys would be dropped
};
// Gives the target control the focus again and types Ctrl+V into it; a
// null target: into whatever is in front. With `waitUntilTaken`, returns
// only once the target's program has taken the keys (or a deadline
// passed), so that a window coming to the front afterwards cannot take
// them instead. Types nothing unless it returns kTyped.
PasteOutcome PasteInto(HWND target, bool waitUntilTaken);

// The window the user was working in, remembered while the mouse is over
// the tray icon; null when none.
void RememberWorkWindow(HWND window);
HWND WorkWindow();
