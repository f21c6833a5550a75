// Clipboard capture: the main window is a member of the clipboard viewer
// chain, and every text another program copies becomes a history entry.
#pragma once

#include <windows.h>

void JoinViewerChain(HWND main);
void LeaveViewerChain(HWND main);

// Marks the clipboard's present content as seen, so that the text on the
// clipboard when capture begins is not recorded.
void IgnoreCurrentClipboard();

LRESULT OnDrawClipboard(HWND main, WPARAM wParam, LPARAM lParam);
LRESULT OnChangeCbChain(WPARAM leaving, LPARAM following);

// Adds the text as a new entry: at the top when the list shows the
// newest first, else at the bottom. Failures are silent.
void AddClip(const char* text);
