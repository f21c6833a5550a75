// Why a copy or a deletion of rows failed. No window system here, so that
// the messages that answer them can be tested anywhere.
#pragma once

// Why the last copy or deletion of rows failed (the list window's listError).
enum ListError : int {
  kListErrNoSelection = -100,    // multi-selection mode with no row selected
  kListErrSelNoRoom = -101,      // the wrap column leaves no room (selected rows)
  kListErrNoRow = -102,          // a row of the range does not exist
  kListErrNoRoom = -200,         // the wrap column leaves no room (a row range)
  kListErrDeleteNoSelection = -300,  // deleting selected rows with none selected
  kListErrClipboardBusy = -400,  // another program held the clipboard
  kListErrNoMemory = -401,       // the output does not fit in memory
};
