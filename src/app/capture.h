// Clipboard capture: the main window listens for clipboard changes, and
// every text another program copies becomes a history entry.
#pragma once

#include <windows.h>

// Starts listening. The text on the clipboard at that moment is not
// recorded; everything copied afterwards is.
void StartCapture(HWND main);
// Stops listening, and gives up a capture still waiting for the clipboard.
void StopCapture(HWND main);

// WM_CLIPBOARDUPDATE: the clipboard holds new content.
void OnClipboardUpdate(HWND main);
// A capture that found the clipboard busy tries again: on its timer, and
// whenever the message loop has nothing else to do while it waits.
constexpr UINT_PTR kCaptureRetryTimer = 1;
bool CaptureWaiting();
void OnCaptureRetry(HWND main);
