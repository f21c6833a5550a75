// Texts of the user interface are UTF-8 in the sources and are shown
// through the wide-character API, so they read correctly whatever the
// system's ANSI code page is. History texts never pass through here: they
// stay ANSI bytes exactly as captured.
#pragma once

#include <windows.h>

#include <string>

// UTF-8 (or, with another code page, that code page's bytes) to wide.
std::wstring Widen(const char* text, UINT codePage = CP_UTF8);

// Wide to UTF-8, for a text of the system's (a key's name) in a message.
std::string NarrowUtf8(const wchar_t* text);

// MessageBoxW with UTF-8 texts.
int MessageBoxUtf8(HWND owner, const char* text, const char* caption, UINT type);

void SetWindowTextUtf8(HWND hwnd, const char* text);

// The height of a line of the window's font, in pixels.
int FontHeight(HWND hwnd);
