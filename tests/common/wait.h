// Waiting in the Windows tests: a condition is polled until it holds or a
// deadline passes, never waited for blindly.
#pragma once

#include <windows.h>

#include <functional>

constexpr DWORD kDeadlineMs = 15000;

// Polls the condition until it holds or the deadline passes.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDeadlineMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() > deadline) return false;
    Sleep(10);
  }
}
