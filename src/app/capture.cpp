#include "app/capture.h"

#include <cstring>

#include <mmsystem.h>

#include "base/clipboard.h"
#include "base/scoped_win.h"
#include "listwin/entries.h"
#include "settings/settings.h"

namespace {

bool g_listening = false;
// The sequence number of the content on the clipboard when capture
// began, which is not recorded, and after that of the last content
// recorded: a burst of copies can bring several notifications after one
// change, and one change must never become two entries. The numbers only
// grow, so the first content is never seen again once another is recorded.
DWORD g_seenSequence = 0;

// Another program often has the clipboard open just when a change is
// announced: clipboard tools, the system's clipboard history and remote
// desktops read every new content. A capture then tries again, for about
// a second, without ever blocking the program's thread, as long as the
// clipboard holds the content that was announced. It must be quick to
// take its turn: a program about to copy again is waiting for the
// clipboard too, and would replace the content first.
constexpr UINT kRetryEveryMs = 10;
constexpr ULONGLONG kRetryForMs = 1000;
DWORD g_retrySequence = 0;
ULONGLONG g_retryUntil = 0;

// Formats that password managers and similar programs add to keep their
// content out of clipboard histories.
UINT g_excludeFormat = 0;
UINT g_viewerIgnoreFormat = 0;
UINT g_historyFormat = 0;  // holds a DWORD; 0 forbids keeping the content

bool ContentAsksNotToBeKept() {
  if (IsClipboardFormatAvailable(g_excludeFormat) ||
      IsClipboardFormatAvailable(g_viewerIgnoreFormat))
    return true;
  if (!IsClipboardFormatAvailable(g_historyFormat)) return false;
  HANDLE data = GetClipboardData(g_historyFormat);
  if (!data || GlobalSize(data) < sizeof(DWORD)) return false;
  ScopedGlobalLock<const void> value(data);
  if (!value.Get()) return false;
  DWORD allowed = 0;
  std::memcpy(&allowed, value.Get(), sizeof allowed);
  return allowed == 0;
}

// Copies the clipboard's text up to its first zero byte into a new
// moveable, zero-filled block, or returns null when there is none, it
// was recorded (or ignored) already, or the clipboard could not be
// opened (`busy`). `sequence` receives the number of the content read,
// taken while the clipboard is open so that it belongs to that very
// content.
HGLOBAL CopyClipboardText(HWND main, DWORD* sequence, bool* busy) {
  ScopedClipboard clipboard(main, 0);
  *busy = !clipboard;
  if (!clipboard) return nullptr;
  *sequence = GetClipboardSequenceNumber();
  if (*sequence == g_seenSequence) return nullptr;
  if (ContentAsksNotToBeKept()) return nullptr;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return nullptr;
  ScopedGlobalLock<const char> text(data);
  if (!text.Get()) return nullptr;
  // The block may lack a terminator; never read past its end.
  const size_t limit = GlobalSize(data);
  const void* zero = std::memchr(text.Get(), '\0', limit);
  const size_t n = zero ? static_cast<size_t>(static_cast<const char*>(zero) - text.Get()) : limit;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, n + 1);
  ScopedGlobalLock<char> to(copy);
  if (to.Get()) std::memcpy(to.Get(), text.Get(), n);
  return copy;
}

// Records the clipboard's text, unless capture is paused or the text is
// our own output. False when the clipboard was busy.
bool TryCapture(HWND main) {
  if (g_set.sus) return true;
  // Our own output (copy and paste) is never recorded.
  if (GetClipboardOwner() == main) return true;
  DWORD sequence = 0;
  bool busy = false;
  // The clipboard is closed again once the copy is made.
  const ScopedGlobal copy(CopyClipboardText(main, &sequence, &busy));
  if (!copy) return !busy;
  const ScopedGlobalLock<const char> text(copy.Get());
  if (text.Get() && AddClip(text.Get())) g_seenSequence = sequence;
  return true;
}

}  // namespace

void StartCapture(HWND main) {
  g_excludeFormat = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  g_viewerIgnoreFormat = RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
  g_historyFormat = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  // Only what is on the clipboard now is old; whatever is copied from
  // here on (while a large history is still loading, say) is new.
  g_seenSequence = GetClipboardSequenceNumber();
  // A listener, not a viewer in the chain: no other program can cut it
  // off by not passing a notification on, or freeze it by not answering.
  g_listening = AddClipboardFormatListener(main) != FALSE;
}

namespace {

bool g_waiting = false;

void EndWait(HWND main) {
  if (!g_waiting) return;
  KillTimer(main, kCaptureRetryTimer);
  timeEndPeriod(1);
  g_waiting = false;
}

// The timer carries the retries through modal loops (a message box, a
// menu); the main message loop tries every millisecond, for which the
// system's timer runs at that resolution meanwhile.
void BeginWait(HWND main) {
  EndWait(main);
  g_retrySequence = GetClipboardSequenceNumber();
  g_retryUntil = GetTickCount64() + kRetryForMs;
  timeBeginPeriod(1);
  SetTimer(main, kCaptureRetryTimer, kRetryEveryMs, nullptr);
  g_waiting = true;
}

}  // namespace

void StopCapture(HWND main) {
  EndWait(main);
  if (g_listening) RemoveClipboardFormatListener(main);
  g_listening = false;
}

void OnClipboardUpdate(HWND main) {
  // A newer change replaces one still waited for.
  EndWait(main);
  if (!TryCapture(main)) BeginWait(main);
}

bool CaptureWaiting() { return g_waiting; }

void OnCaptureRetry(HWND main) {
  if (!g_waiting) return;
  // Content that has changed meanwhile was announced on its own.
  const bool stillThere = GetClipboardSequenceNumber() == g_retrySequence;
  if (!stillThere || GetTickCount64() > g_retryUntil || TryCapture(main)) EndWait(main);
}
