// Putting history entries on the clipboard: each entry's text is shaped
// (quote prefix, footer, wrap, line-end rule; see shape.h) and the shaped
// texts follow each other in the order given in one CF_TEXT block that
// the main window hands to the clipboard. A CF_UNICODETEXT block of the
// same output goes before it: when an entry keeps a Unicode text, with
// that text whole (see shape_wide.h), else the CF_TEXT block converted
// by the code page. A CF_LOCALE naming the code page's locale follows.
#pragma once

#include <cstdint>
#include <vector>

#include "output/copy_errors.h"

class Store;

// Copies the store's rows, in the order given, with quote prefix q and
// footer f on every line, wrapped at w bytes (0: no wrap) under line-end
// rule r. Returns 0, or the ListError that stopped it: noRoomCode when
// the wrap column leaves no room. `measured` receives the record offsets
// of the rows measured (for the put buffer), so a wrap failure leaves
// exactly the first row's offset.
int CopyRows(const Store& store, const std::vector<int>& rows, const char* q, const char* f, int w,
             int r, int noRoomCode, std::vector<std::int32_t>* measured);

// The message that tells the user about a failed copy, by its ListError.
const char* CopyFailureMessage(int listError);
