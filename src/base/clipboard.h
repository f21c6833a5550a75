// The clipboard, opened for as long as a scope lasts. Another program may
// hold the clipboard for a moment (it is writing to it, or reading what
// we wrote), so opening retries until a deadline instead of giving up at
// the first refusal.
#pragma once

#include <windows.h>

class ScopedClipboard {
 public:
  // Opens the clipboard for owner, trying for at most waitMs milliseconds
  // (0: once).
  ScopedClipboard(HWND owner, DWORD waitMs);
  ~ScopedClipboard() {
    if (open_) CloseClipboard();
  }
  ScopedClipboard(const ScopedClipboard&) = delete;
  ScopedClipboard& operator=(const ScopedClipboard&) = delete;

  explicit operator bool() const { return open_; }

  // Empties the clipboard, which makes the owner its owner, and hands the
  // block over as CF_TEXT, and `unicode` (when given) as CF_UNICODETEXT
  // before it. On failure the blocks not taken are freed here: the
  // clipboard only takes what it accepted.
  bool PutText(HGLOBAL block, HGLOBAL unicode = nullptr);

 private:
  bool open_;
};
