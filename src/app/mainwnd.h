// The hidden main window: clipboard listener, owner of the tray icon and
// the hotkeys, and the frame whose creation opens the history store and
// whose destruction saves it.
#pragma once

#include <windows.h>

#include "base/program.h"

constexpr wchar_t kMainClassName[] = L"Kopiwell";

// Asks the main window to tell the user that the working file could not
// be written: posted, so that the box is not shown in the middle of the
// clipboard notification that met the failure.
constexpr UINT kWriteFailed = WM_APP + 1;
// The same when a capture was refused because the working file reached
// its 2 GB limit.
constexpr UINT kWorkingFileFull = WM_APP + 2;
// The same when an operation was given up for want of memory.
constexpr UINT kNoMemory = WM_APP + 3;
// The same when a capture failed for another reason (wParam: the store's
// error code).
constexpr UINT kCaptureFailed = WM_APP + 4;


ATOM RegisterMainClass(HINSTANCE instance);
LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys the main window, which runs the shutdown sequence, unless it
// is being destroyed already.
void DestroyMainWindow();

// The run state reset once the main window exists.
void ResetRunState();

// The reporter's notices (base/report.h): posted to the main window,
// which shows them once its message loop runs. A failed write and the
// 2 GB limit and a capture failed otherwise are told once per run, memory
// that ran out each time.
void PostWriteFailure();
void PostWorkingFileFull();
void PostNoMemory();
void PostCaptureFailure(int code);

// Makes the error box and these notices the program's reporter.
void InstallReporter();

// Everything the start has to tell, once: a hotkey another program holds,
// a leftover working file kept aside, a start-up delete not done, a
// damaged data file.
void ReportStartNotices();
