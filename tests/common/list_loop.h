// The program's message loop as far as the history list needs it, for the
// tests and benchmarks that drive the list inside their own process.
#pragma once

#include <windows.h>

#include "listwin/find.h"
#include "listwin/list_state.h"

// Takes the next message as the program's loop does (the list's keys
// through its dialog handling), or, with none waiting, runs the search the
// find bar owes. False when there was neither. `key` sees every key
// message taken.
template <typename Key>
bool TakeListMessage(Key key) {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return RunOwedSearch();
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) key(msg);
  if (IsDialogMessageW(TheListWindow().hwnd, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

inline bool TakeListMessage() {
  return TakeListMessage([](const MSG&) {});
}
