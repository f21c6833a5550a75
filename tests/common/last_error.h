// A system call's result as a check: its failure says which error the
// call left. The code is read before anything else runs, since building a
// failure message can itself change it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/text.h"

// An error code with the system's text for it.
inline std::string ErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring said(text ? text : L"", n);
  if (text) LocalFree(text);
  while (!said.empty() && (said.back() == L'\n' || said.back() == L'\r')) said.pop_back();
  return "error " + std::to_string(error) + (said.empty() ? "" : " (" + Narrow(said) + ")");
}

// Wraps the call: Succeeded(CreateDirectoryW(...)).
inline ::testing::AssertionResult Succeeded(bool result) {
  const DWORD error = GetLastError();
  if (result) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "failed with " << ErrorText(error);
}
