// The hidden main window: clipboard listener, owner of the tray icon and
// the hotkeys, and the frame whose creation opens the history store and
// whose destruction saves it.
#pragma once

#include <windows.h>

#include <new>

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

// Asks the main window to tell the user that the working file could not
// be written: posted, so that the box is not shown in the middle of the
// clipboard notification that met the failure.
constexpr UINT kWriteFailed = WM_APP + 1;
// The same when a capture was refused because the working file reached
// its 2 GB limit.
constexpr UINT kWorkingFileFull = WM_APP + 2;
// The same when an operation was given up for want of memory.
constexpr UINT kNoMemory = WM_APP + 3;

extern HINSTANCE g_hInst;
extern HWND g_hMain;

ATOM RegisterMainClass(HINSTANCE instance);
LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys the main window, which runs the shutdown sequence, unless it
// is being destroyed already.
void DestroyMainWindow();

// The run state reset once the main window exists.
void ResetRunState();

// Reports a failed write to the working file, once per run.
void ReportWriteFailure();
// Reports captures refused at the working file's 2 GB limit, once per run.
void ReportWorkingFileFull();
// Reports an operation given up because memory ran out, each time.
void ReportNoMemory();
// Runs a window procedure's work so that running out of memory in it
// never escapes into the system's code (which would end the program and
// lose the session's history): the operation is given up, the store's
// operations having changed nothing before their allocations, and the
// user is told.
template <typename Work>
LRESULT GuardMemory(Work work, LRESULT failed = 0) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    ReportNoMemory();
    return failed;
  }
}

// Tells the user, once, that the data file just loaded was damaged.
void ReportDamagedHistory();
// Everything the start has to tell, once: a leftover working file kept
// aside, a start-up delete not done, a damaged data file.
void ReportStartNotices();
