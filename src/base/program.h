// The program's module and its main window, as the parts below the main
// window need them: the module holds the dialogs' templates, and the main
// window owns what the program puts on the clipboard.
#pragma once

#include <windows.h>

HINSTANCE ProgramInstance();

// Set by the main window when it is created, and cleared when it is gone.
void SetMainWindow(HWND main);
HWND MainWindow();
