// The clipboard, opened for as long as a scope lasts. Another program may
// hold the clipboard for a moment (it is writing to it, or reading what
// we wrote), so opening retries until a deadline instead of giving up at
// the first refusal.
#pragma once

#include <windows.h>

#include <initializer_list>

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

  // One format's data for Put.
  struct Block {
    UINT format;
    HGLOBAL data;
  };
  // Empties the clipboard, which makes the owner its owner, and hands the
  // blocks over in the order given, which is the order readers find them
  // in. False when one is missing or refused; the blocks not taken are
  // freed here then: the clipboard only takes what it accepted.
  bool Put(std::initializer_list<Block> blocks);

 private:
  bool open_;
};
