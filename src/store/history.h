// The program's one history: the data file clip.dat with its working
// file, kept open in g_store. Each operation is the store's operation of
// the same name (store.h) on that history, and only these change g_store.
#pragma once

#include <windows.h>

// The open working file; null while the store is closed.
extern HANDLE g_store;

// False when the history could not be opened (g_tdbError says why).
bool OpenHistory(HWND list);
// Saves and closes it. False when the data file could not be written:
// the history then stays open, and the old data file stands.
bool CloseHistory(HWND list);
// Empties it. False when no new working file could be made: nothing is
// open any more.
bool ClearHistory(HWND list);
// Replaces it with the backup of the start-up delete. False when that
// failed: the history stays as it was when there was no backup or it
// could not be copied (kErrRestoreNoBackup, kErrRestoreCopy); after any
// other failure nothing is open any more.
bool RestoreHistory(HWND list);
