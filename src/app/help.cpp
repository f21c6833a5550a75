#include "app/help.h"

#include <shellapi.h>

#include "app/errorbox.h"
#include "output/messages.h"

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  const size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : folder.substr(0, slash);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

HelpKind ChooseHelp(const std::wstring& dir, std::wstring* path) {
  const std::wstring winHelp = dir + L"\\" + kHelpFile;
  if (Exists(winHelp)) {
    *path = winHelp;
    return HelpKind::kWindowsHelp;
  }
  *path = dir + L"\\" + kHelpPage;
  return HelpKind::kPage;
}

void ShowHelpTopics(HWND main) {
  std::wstring path;
  if (ChooseHelp(ProgramFolder(), &path) == HelpKind::kWindowsHelp) {
    WinHelpW(main, path.c_str(), HELP_FINDER, 0);
    return;
  }
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(main, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) Tell(kMsgHelpMissing);
}

void CloseHelp(HWND main) {
  std::wstring path;
  if (ChooseHelp(ProgramFolder(), &path) == HelpKind::kWindowsHelp)
    WinHelpW(main, path.c_str(), HELP_QUIT, 0);
}
