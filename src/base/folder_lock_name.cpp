#include "base/folder_lock_name.h"

#include <cstdint>

namespace {

// The file system ignores letter case and takes either separator; the
// caller has already lowered the letters outside ASCII as the system does.
std::wstring Folded(const std::wstring& path) {
  std::wstring folded;
  folded.reserve(path.size());
  for (wchar_t c : path) {
    if (c == L'/') c = L'\\';
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    folded += c;
  }
  while (!folded.empty() && folded.back() == L'\\') folded.pop_back();
  return folded;
}

// FNV-1a over the UTF-16 units, two bytes each: the same name for the
// same path on every build, whatever the width of wchar_t.
uint64_t Hash(const std::wstring& text) {
  uint64_t h = 14695981039346656037ull;
  for (wchar_t c : text) {
    const uint32_t unit = static_cast<uint32_t>(c) & 0xFFFF;
    for (uint32_t byte : {unit & 0xFF, unit >> 8}) {
      h ^= byte;
      h *= 1099511628211ull;
    }
  }
  return h;
}

}  // namespace

std::wstring FolderLockName(const std::wstring& fullPath) {
  const uint64_t h = Hash(Folded(fullPath));
  // "Local\": one program per folder in each sign-in session, as the
  // window guard holds it per desktop.
  std::wstring name = L"Local\\Kopiwell-";
  for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789abcdef"[(h >> shift) & 0xF];
  return name;
}
