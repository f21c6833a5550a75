// The program's one history: the open working file and the operations
// the application runs on it with the history list of the list window.
#pragma once

#include <windows.h>

// The open working file; null while the store is closed.
extern HANDLE g_store;

// Inserts a new entry with the text at the row. A failure is fatal.
void InsertClip(int row, const char* text);

// Deletes the whole history (after the user confirmed). Returns 0, or -1
// after a fatal error box.
int ClearClip();

// Replaces the history with the backup made by the start-up delete
// (after the user confirmed). Without a backup it says so and changes
// nothing; any other failure is fatal.
void RestoreClip();
