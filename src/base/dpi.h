// The pixel density of monitors and windows. The per-monitor functions
// came with Windows 8.1 and 10; they are looked up when first needed, and
// where they are missing (Windows 7 and 8) the system's density stands
// for every monitor.
#pragma once

#include <windows.h>

#include <vector>

#include "base/dpi_scale.h"
#include "base/popup_place.h"

// The system's density (the one of the primary monitor at sign-in).
int SystemDpi();

int MonitorDpi(HMONITOR monitor);

// The density the window is drawn for now.
int WindowDpi(HWND hwnd);

// The small-icon size (the notification area's) at `dpi`.
int SmallIconPixels(int dpi);

// Every monitor, with its work area and density.
std::vector<MonitorArea> Monitors();

// The dialog manager of Windows 10 (1703 on) makes a dialog's font and
// lays out its template's controls for a new density, and sizes the
// dialog itself: this leaves the size to the dialog's own WM_DPICHANGED,
// which knows when the move was its own placing.
void LeaveDialogSizeToUs(HWND dialog);

// WM_DPICHANGED, which the headers for Windows 7 do not define.
constexpr UINT kDpiChanged = 0x02E0;
