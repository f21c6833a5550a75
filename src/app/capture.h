// Clipboard capture: the main window is a member of the clipboard viewer
// chain, and every text another program copies becomes a history entry.
#pragma once

#include <windows.h>

// Joins the chain. The text on the clipboard at that moment is not
// recorded; everything copied afterwards is.
void JoinViewerChain(HWND main);
void LeaveViewerChain(HWND main);

LRESULT OnDrawClipboard(HWND main, WPARAM wParam, LPARAM lParam);
LRESULT OnChangeCbChain(WPARAM leaving, LPARAM following);

// Adds the text as a new entry: at the top when the list shows the
// newest first, else at the bottom. False when it could not be stored;
// the user is told once (the main window shows the message later).
bool AddClip(const char* text);
