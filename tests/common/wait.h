// Waiting in the Windows tests: a condition is polled until it holds or a
// deadline passes, never waited for blindly. A wait says what it waited
// for and, where there is a value to watch, the last one it saw: after 15
// seconds a bare "false" tells the reader nothing.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/text.h"

constexpr DWORD kDeadlineMs = 15000;

// A value as a failure message shows it: as GoogleTest prints it, wide
// text as UTF-8, a long text by its beginning and its length, and a list
// element by element.
template <typename T>
std::string Shown(const T& value) {
  return ::testing::PrintToString(value);
}
inline std::string Shown(const std::string& text) {
  constexpr size_t kShownBytes = 300;
  if (text.size() <= kShownBytes) return ::testing::PrintToString(text);
  return ::testing::PrintToString(text.substr(0, kShownBytes)) + "... (" +
         std::to_string(text.size()) + " bytes)";
}
inline std::string Shown(const std::wstring& text) { return Shown(Narrow(text)); }
template <typename T>
std::string Shown(const std::vector<T>& values) {
  std::string shown = "{";
  for (const T& value : values) shown += (shown.size() > 1 ? ", " : " ") + Shown(value);
  return shown + " }";
}

// Polls `observe` until `holds` accepts the value it returned or the
// deadline passes. The result says what was waited for, how long, and
// the value seen last.
template <typename Observe, typename Holds>
::testing::AssertionResult WaitFor(const std::string& what, Observe observe, Holds holds,
                                   DWORD timeoutMs = kDeadlineMs) {
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG deadline = start + timeoutMs;
  for (;;) {
    const auto seen = observe();
    if (holds(seen))
      return ::testing::AssertionSuccess()
             << what << " after " << GetTickCount64() - start << " ms: " << Shown(seen);
    if (GetTickCount64() > deadline)
      return ::testing::AssertionFailure() << "waited " << GetTickCount64() - start << " ms for "
                                           << what << "; last saw: " << Shown(seen);
    Sleep(10);
  }
}

// The same for a condition that has no value to show.
inline ::testing::AssertionResult WaitUntil(const std::string& what,
                                            const std::function<bool()>& condition,
                                            DWORD timeoutMs = kDeadlineMs) {
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG deadline = start + timeoutMs;
  for (;;) {
    if (condition())
      return ::testing::AssertionSuccess()
             << what << " after " << GetTickCount64() - start << " ms";
    if (GetTickCount64() > deadline)
      return ::testing::AssertionFailure()
             << "waited " << GetTickCount64() - start << " ms for " << what;
    Sleep(10);
  }
}

// A condition with no value of its own but a state that explains it: on a
// timeout `seen` describes that state as the wait ended.
inline ::testing::AssertionResult WaitUntil(const std::string& what,
                                            const std::function<bool()>& condition,
                                            const std::function<std::string()>& seen,
                                            DWORD timeoutMs = kDeadlineMs) {
  ::testing::AssertionResult waited = WaitUntil(what, condition, timeoutMs);
  if (!waited) waited << "; last saw: " << seen();
  return waited;
}
