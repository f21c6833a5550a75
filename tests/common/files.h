// File helpers shared by the Windows test layers and the benchmarks.
// Narrow paths are in the system's code page, as the A functions take them.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "common/text.h"

// The bytes from the file's position to its end, read in as few calls as
// the size allows; the position is left at the end.
inline std::string ReadToEnd(HANDLE file) {
  LARGE_INTEGER size = {}, position = {}, zero = {};
  GetFileSizeEx(file, &size);
  SetFilePointerEx(file, zero, &position, FILE_CURRENT);
  std::string bytes(static_cast<size_t>(std::max<LONGLONG>(size.QuadPart - position.QuadPart, 0)),
                    '\0');
  size_t at = 0;
  DWORD got = 0;
  while (at < bytes.size() &&
         ReadFile(file, &bytes[at],
                  static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1 << 24)), &got,
                  nullptr) &&
         got > 0)
    at += got;
  bytes.resize(at);
  char more[4096];  // whatever was added meanwhile
  while (ReadFile(file, more, sizeof more, &got, nullptr) && got > 0) bytes.append(more, got);
  return bytes;
}

// A whole file ("" when it cannot be opened), read while others may
// have it open too.
inline std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes = ReadToEnd(file);
  CloseHandle(file);
  return bytes;
}
inline std::string ReadFileBytes(const std::string& path) { return ReadFileBytes(FromAnsi(path)); }

inline void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD done = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(file);
}
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  WriteFileBytes(FromAnsi(path), bytes);
}

inline bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
inline bool FileExists(const std::string& path) { return FileExists(FromAnsi(path)); }

// The names in a folder, for failure messages about the files there.
inline std::string FileNamesIn(const std::wstring& dir) {
  std::string names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "nothing";
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names += (names.empty() ? "" : ", ") + Narrow(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names.empty() ? "nothing" : names;
}

// Removes a folder with everything in it.
inline void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(dir.c_str());
}
