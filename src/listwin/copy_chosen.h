// Copying the rows the user chose to the clipboard (output/copy.h).
#pragma once

// Copies rows first to last (either order) with quote prefix q and footer f
// on every line, wrapped at w bytes (0: no wrap) under line-end rule r.
// Returns 0, or -1 with the list window's listError (list_state.h) set.
int CopyClip(int first, int last, const char* q, const char* f, int w, int r);

// The same for every selected row, top to bottom.
int CopySelClip(const char* q, const char* f, int w, int r);

// The text an output of the list puts on the clipboard.
struct OutputText {
  enum Source {
    kOnClipboard,  // nothing to copy: a command has put the text there already
    kRows,         // rows first to last (either order)
    kSelection,    // every selected row
  };
  Source source = kOnClipboard;
  int first = -1;
  int last = -1;
  bool quoted = false;  // with the settings' quote prefix and footer on every line
};

// What the list's commands copy: rows first to last, or every selected
// row in multi-selection mode.
OutputText ChosenRows(int first, int last, bool quoted);

// Puts the text on the clipboard, wrapped and ended as the settings say;
// a text on the clipboard already stays as it is. False when the copy
// failed; the user has then been told why.
bool CopyChosen(const OutputText& text);
