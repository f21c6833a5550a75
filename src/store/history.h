// The program's one history: the open working file with the history list
// of the list window as its index.
#pragma once

#include <windows.h>

// The open working file; null while the store is closed.
extern HANDLE g_store;

// What InsertClip could not do.
enum InsertFailure : int {
  kInsertNoRow = -1,     // no row was inserted
  kInsertNoRecord = -2,  // the record could not be written; the row was taken back
};

// Inserts a new entry with the text at the row. Returns 0, or an
// InsertFailure with the store error code set; the history is then as it
// was.
int InsertClip(int row, const char* text);
