// The double press of Ctrl that calls up the list. A low-level keyboard
// hook runs on a thread of its own, which does nothing but watch Ctrl
// and post the call to the main window: every key of the whole system
// passes through the hook, and a main thread busy with a long search
// must never make the keyboard lag.
#pragma once

#include <windows.h>

// Posted to the main window when Ctrl was pressed twice.
constexpr UINT kCtrlTwice = WM_APP + 20;

// Installs the hook (once) while `on`, removes it otherwise.
void SetCtrlHook(bool on, HWND notify);
