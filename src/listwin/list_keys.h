// Keys, characters and double-clicks in the history list: the list view's
// own window procedure is replaced by one that takes what the list's
// commands need and passes everything else on.
#pragma once

#include <windows.h>

// Puts the list's key handling in front of the view's own procedure,
// which it keeps for what it passes on.
void SubclassListView(HWND view);
