#include "base/clipboard.h"

ScopedClipboard::ScopedClipboard(HWND owner, DWORD waitMs) : open_(false) {
  const ULONGLONG deadline = GetTickCount64() + waitMs;
  for (;;) {
    if (OpenClipboard(owner)) {
      open_ = true;
      return;
    }
    if (GetTickCount64() >= deadline) return;
    Sleep(1);
  }
}

bool ScopedClipboard::PutText(HGLOBAL block, HGLOBAL unicode) {
  const bool emptied = open_ && EmptyClipboard();
  const bool wide = unicode && emptied && SetClipboardData(CF_UNICODETEXT, unicode);
  if (unicode && !wide) GlobalFree(unicode);
  if (emptied && (unicode == nullptr || wide) && SetClipboardData(CF_TEXT, block)) return true;
  GlobalFree(block);
  return false;
}
