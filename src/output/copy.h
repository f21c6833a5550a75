// Putting chosen history entries on the clipboard: each entry's text is
// shaped (quote prefix, footer, wrap, line-end rule; see shape.h) and the
// shaped texts follow each other in row order in one CF_TEXT block that
// the main window hands to the clipboard. Every copy refills the put
// buffer with the copied entries' record offsets.
#pragma once

// Why the last copy failed (g_listError).
enum ListError : int {
  kListErrNoSelection = -100,   // multi-selection mode with no row selected
  kListErrSelNoRoom = -101,     // the wrap column leaves no room (selected rows)
  kListErrNoRoom = -200,        // the wrap column leaves no room (a row range)
  kListErrClipboardBusy = -300, // another program held the clipboard
  kListErrNoMemory = -301,      // the output does not fit in memory
};
extern int g_listError;

// Copies rows first to last (either order) with quote prefix q and footer f
// on every line, wrapped at w bytes (0: no wrap) under line-end rule r.
// Returns 0, or -1 with g_listError set.
int CopyClip(int first, int last, const char* q, const char* f, int w, int r);

// The same for every selected row, top to bottom.
int CopySelClip(const char* q, const char* f, int w, int r);

// The message that tells the user about a failed copy, by g_listError.
const char* CopyFailureMessage(int listError);
