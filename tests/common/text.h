// Text between the encodings the Windows tests meet: UTF-8 (the string
// literals of these sources, and failure messages), UTF-16 (the W
// functions) and the system's ANSI code page (the A functions, and the
// bytes the program keeps). Each conversion stops at the first zero.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring ToWide(UINT codePage, const std::string& text) {
  const int n = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(codePage, 0, text.c_str(), -1, &out[0], n);
  out.resize(out.size() - 1);
  return out;
}

inline std::string FromWide(UINT codePage, const std::wstring& wide) {
  const int n = WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

inline std::wstring Widen(const std::string& utf8) { return ToWide(CP_UTF8, utf8); }
inline std::string Narrow(const std::wstring& wide) { return FromWide(CP_UTF8, wide); }
inline std::wstring FromAnsi(const std::string& ansi) { return ToWide(CP_ACP, ansi); }
