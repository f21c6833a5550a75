// Key presses as the keyboard sends them, for SendInput: every character
// typed as its UTF-16 unit (as an input method's committed text comes),
// and a virtual key pressed and let go.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline void AddKey(std::vector<INPUT>* keys, WORD vk, wchar_t unit) {
  for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = vk;
    key.ki.wScan = static_cast<WORD>(unit);
    key.ki.dwFlags = (vk ? 0 : KEYEVENTF_UNICODE) | up;
    keys->push_back(key);
  }
}

inline std::vector<INPUT> TypedKeys(const std::wstring& text) {
  std::vector<INPUT> keys;
  for (wchar_t c : text) AddKey(&keys, 0, c);
  return keys;
}
