// The two small dialogs that only show text: the welcome on the first
// run and the version information.
#pragma once

#include <windows.h>

// Modal, without an owner: shown before the main window exists.
void ShowFirstRunDialog();
void ShowAboutDialog(HWND owner);
