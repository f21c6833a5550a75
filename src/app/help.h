// The program's help: a Windows Help file when one lies beside the
// program, else the HTML help page in the default browser (Windows has
// not shipped a viewer for Windows Help files for a long time).
#pragma once

#include <windows.h>

#include <string>

constexpr wchar_t kHelpFile[] = L"kopiwell.hlp";
constexpr wchar_t kHelpPage[] = L"kopiwell.html";

// Which help a program in `dir` opens, and the file's full path.
enum class HelpKind { kWindowsHelp, kPage };
HelpKind ChooseHelp(const std::wstring& dir, std::wstring* path);

// The tray menu's "Search topics".
void ShowHelpTopics(HWND main);
// Closes a Windows Help window the program opened.
void CloseHelp(HWND main);
