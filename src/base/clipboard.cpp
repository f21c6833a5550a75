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

bool ScopedClipboard::PutText(HGLOBAL block) {
  if (open_ && EmptyClipboard() && SetClipboardData(CF_TEXT, block)) return true;
  GlobalFree(block);
  return false;
}
