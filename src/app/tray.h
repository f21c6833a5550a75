// The icon in the notification area, its notifications, and the tray
// menu with its commands.
#pragma once

#include <windows.h>

constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayNotify = WM_USER;         // the icon's callback message
constexpr UINT kShowTrayMenu = WM_USER + 1;   // asks the main window for the menu

// 1 while no tray command runs; while 0 the menu's commands are greyed.
extern bool g_trayIdle;

void TrayAdd();
void TraySetPaused();
void TraySetNormal();
void TrayDelete();

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
