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

bool ScopedClipboard::Put(std::initializer_list<Block> blocks) {
  bool taken = open_ && EmptyClipboard();
  for (const Block& b : blocks) {
    // A null block would ask for rendering on demand, which never comes.
    if (taken && b.data && SetClipboardData(b.format, b.data)) continue;
    taken = false;
    if (b.data) GlobalFree(b.data);
  }
  return taken;
}
