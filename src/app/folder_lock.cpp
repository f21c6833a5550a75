#include "app/folder_lock.h"

#include <windows.h>

#include <string>

#include "base/folder_lock_name.h"

namespace {

// The current directory as the file system knows it: full length, short
// (8.3) names made long, letters lowered by the system's own case table,
// so that every spelling of the folder gives the same lock.
std::wstring DataFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, &dir[0]);
  dir.resize(length < needed ? length : 0);
  const DWORD longNeeded = GetLongPathNameW(dir.c_str(), nullptr, 0);
  if (longNeeded > 0) {
    std::wstring full(longNeeded, L'\0');
    const DWORD longLength = GetLongPathNameW(dir.c_str(), &full[0], longNeeded);
    if (longLength > 0 && longLength < longNeeded) dir = full.substr(0, longLength);
  }
  if (!dir.empty()) CharLowerBuffW(&dir[0], static_cast<DWORD>(dir.size()));
  return dir;
}

}  // namespace

bool LockDataFolder() {
  // The handle stays open until the process ends, which lets the name go
  // however the program ends.
  HANDLE lock = CreateMutexW(nullptr, FALSE, FolderLockName(DataFolder()).c_str());
  const DWORD error = GetLastError();
  if (lock && error == ERROR_ALREADY_EXISTS) {
    CloseHandle(lock);
    return false;
  }
  // A mutex of that name that we may not open is another program's too
  // (one running as another user or elevated).
  return lock || error != ERROR_ACCESS_DENIED;
}
