// The clipboard as another program uses it: text put on it and read back,
// waiting while someone else holds it open.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "common/wait.h"

// Puts text on the clipboard as another program would: CF_TEXT holding
// the bytes and a terminating zero, plus any extra registered formats
// with their data. Retries while another program holds the clipboard.
struct ExtraFormat {
  const wchar_t* name;
  std::string data;
};
inline bool CopyText(const std::string& bytes, std::initializer_list<ExtraFormat> extra = {}) {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return false;
  EmptyClipboard();
  auto put = [](UINT format, const std::string& data) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, data.size() + 1);
    if (!block) return false;
    std::memcpy(GlobalLock(block), data.data(), data.size());
    GlobalUnlock(block);
    if (SetClipboardData(format, block)) return true;
    GlobalFree(block);  // the clipboard refused it, so it is still ours
    return false;
  };
  bool ok = put(CF_TEXT, bytes);
  for (const ExtraFormat& f : extra) ok = put(RegisterClipboardFormatW(f.name), f.data) && ok;
  CloseClipboard();
  return ok;
}

// The CF_TEXT bytes on the clipboard up to their first zero; "" if none.
inline std::string ClipboardText() {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return "<clipboard busy>";
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      const size_t size = GlobalSize(data);
      text.assign(bytes, std::find(bytes, bytes + size, '\0'));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}
