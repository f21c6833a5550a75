// The hidden main window: clipboard viewer, owner of the tray icon and
// the hotkeys, and the frame whose creation opens the history store and
// whose destruction saves it.
#pragma once

#include <windows.h>

constexpr wchar_t kMainClassName[] = L"Kopiwell";

// Tray menu commands, sent to the main window as WM_COMMAND.
enum TrayCommand : int {
  kCmdSettings = 1000,
  kCmdAbout = 1001,
  kCmdPause = 1002,
  kCmdGoodbye = 1003,
  kCmdClearAll = 1004,
  kCmdRestore = 1005,
  kCmdHelp = 1006,
};

extern HINSTANCE g_hInst;
extern HWND g_hMain;

ATOM RegisterMainClass(HINSTANCE instance);
LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys the main window, which runs the shutdown sequence, unless it
// is being destroyed already.
void DestroyMainWindow();

// The run state reset once the main window exists.
void ResetRunState();
