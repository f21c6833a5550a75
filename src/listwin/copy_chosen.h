// Copying the rows the user chose to the clipboard (output/copy.h).
#pragma once

// Copies rows first to last (either order) with quote prefix q and footer f
// on every line, wrapped at w bytes (0: no wrap) under line-end rule r.
// Returns 0, or -1 with the list window's listError (list_state.h) set.
int CopyClip(int first, int last, const char* q, const char* f, int w, int r);

// The same for every selected row, top to bottom.
int CopySelClip(const char* q, const char* f, int w, int r);

// What the list's commands copy: rows first to last, or every selected
// row in multi-selection mode, quoted with the settings' prefix and footer
// when `quoted`, wrapped and ended as the settings say. False when the
// copy failed; the user has then been told why.
bool CopyChosen(int first, int last, bool quoted);
