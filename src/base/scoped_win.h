// Owners for Win32 handles and states, so that nothing is released
// by hand on an early return. None of them can be copied: a copied owner
// would release its handle twice.
#pragma once

#include <windows.h>

// A kernel handle (a file). CreateFile reports failure with
// INVALID_HANDLE_VALUE, everything else with null; both count as empty.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE h = nullptr) : h_(Normalise(h)) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  HANDLE Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  HANDLE Release() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
  }
  void Reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = Normalise(h);
  }

 private:
  static HANDLE Normalise(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }
  HANDLE h_;
};

// Suspends a control's redrawing for a bulk change of its rows. Under
// Wine a list view insert costs about 0.37 ms a row while redrawing is on
// and about 5 us while it is off.
class ScopedRedrawOff {
 public:
  explicit ScopedRedrawOff(HWND hwnd) : hwnd_(hwnd) {
    if (hwnd_) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  }
  ~ScopedRedrawOff() {
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  ScopedRedrawOff(const ScopedRedrawOff&) = delete;
  ScopedRedrawOff& operator=(const ScopedRedrawOff&) = delete;

 private:
  HWND hwnd_;
};

// A global memory block, freed unless it is handed over (Release), as to
// the clipboard, which then owns it.
class ScopedGlobal {
 public:
  explicit ScopedGlobal(HGLOBAL block = nullptr) : block_(block) {}
  ~ScopedGlobal() {
    if (block_) GlobalFree(block_);
  }
  ScopedGlobal(const ScopedGlobal&) = delete;
  ScopedGlobal& operator=(const ScopedGlobal&) = delete;

  HGLOBAL Get() const { return block_; }
  explicit operator bool() const { return block_ != nullptr; }
  HGLOBAL Release() {
    HGLOBAL block = block_;
    block_ = nullptr;
    return block;
  }

 private:
  HGLOBAL block_;
};

// A block's memory, locked for as long as the scope lasts; null when the
// block is null or cannot be locked.
template <typename T>
class ScopedGlobalLock {
 public:
  explicit ScopedGlobalLock(HGLOBAL block)
      : block_(block), data_(block ? static_cast<T*>(GlobalLock(block)) : nullptr) {}
  ~ScopedGlobalLock() {
    if (data_) GlobalUnlock(block_);
  }
  ScopedGlobalLock(const ScopedGlobalLock&) = delete;
  ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;

  T* Get() const { return data_; }

 private:
  HGLOBAL block_;
  T* data_;
};

// A menu, destroyed with its submenus at the end of the scope.
class ScopedMenu {
 public:
  explicit ScopedMenu(HMENU menu) : menu_(menu) {}
  ~ScopedMenu() {
    if (menu_) DestroyMenu(menu_);
  }
  ScopedMenu(const ScopedMenu&) = delete;
  ScopedMenu& operator=(const ScopedMenu&) = delete;

  HMENU Get() const { return menu_; }

 private:
  HMENU menu_;
};
