// The icon in the notification area, its notifications, and the tray
// menu with its commands.
#pragma once

#include <windows.h>

#include <string>

// Tray menu commands, sent to the main window as WM_COMMAND.
enum TrayCommand : int {
  kCmdSettings = 1000,
  kCmdAbout = 1001,
  kCmdPause = 1002,
  kCmdGoodbye = 1003,
  kCmdClearAll = 1004,
  kCmdRestore = 1005,
  kCmdHelp = 1006,
  kCmdPhrases = 1007,
};

constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayNotify = WM_USER;         // the icon's callback message
constexpr UINT kShowTrayMenu = WM_USER + 1;   // asks the main window for the menu

// The main window's timers for the icon's tip: "don't record the next
// copy" lapses, and the note of a copy left out goes.
constexpr UINT_PTR kSkipNextTimer = 2;
constexpr UINT_PTR kTipTimer = 3;
constexpr UINT kLeftOutTipMs = 10000;

// 1 while no tray command runs; while 0 the menu's commands are greyed.
extern bool g_trayIdle;

// Adds the icon, in the picture of the paused state when capturing is
// paused; TrayDelete takes it away again.
void TrayAdd();
void TraySetPaused();
void TraySetNormal();
void TrayDelete();

// The tip says for a while why a copy was not recorded (a program's file
// name, or the reason), and while "don't record the next copy" is armed,
// that it is.
void TrayTellLeftOut(const std::wstring& reason);
void TrayRefreshTip();
void OnTrayTimer(HWND main, UINT_PTR timer);
// Arms "don't record the next copy", or disarms it when it is armed.
void ToggleSkipNext(HWND main);

// The shell (re)created its taskbar, which forgets every icon.
UINT TaskbarCreatedMessage();
void OnTaskbarCreated();
// The main window's density changed: the icon is loaded again for it.
void OnTrayDpiChanged();
// The width and height the icon was last loaded at.
int TrayIconPixels();

void OnTrayNotify(HWND main, LPARAM mouseMessage);

// The menu as it stands now; the caller destroys it.
HMENU BuildTrayMenu(bool idle, bool paused);
void ShowTrayMenu(HWND main);

// Runs a tray command; false for an identifier that is no tray command.
bool OnTrayCommand(HWND main, int id);
