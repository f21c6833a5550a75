#include "app/capture.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <mmsystem.h>

#include "base/clipboard.h"
#include "base/code_page.h"
#include "base/report.h"
#include "base/scoped_win.h"
#include "base/skip_next.h"
#include "base/win_text.h"
#include "app/tray.h"
#include "listwin/entries.h"
#include "settings/program_list.h"
#include "settings/settings.h"
#include "store/unicode_record.h"

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

// Every question to the clipboard is a round trip to the system (under
// Wine, about 33 microseconds to its server), and a capture makes its
// questions while the copying program may be waiting for the clipboard.
// The formats that are there come in one question; their order is not
// said to be the order they were placed in, so they only tell what is
// there.
std::vector<UINT> FormatsThere() {
  UINT list[64];
  UINT count = 0;
  if (GetUpdatedClipboardFormats(list, 64, &count)) return std::vector<UINT>(list, list + count);
  std::vector<UINT> formats;
  for (UINT f = 0; (f = EnumClipboardFormats(f)) != 0;) formats.push_back(f);
  return formats;
}

bool ContentAsksNotToBeKept() {
  const std::vector<UINT> there = FormatsThere();
  auto isThere = [&](UINT format) {
    return std::find(there.begin(), there.end(), format) != there.end();
  };
  if (isThere(g_excludeFormat) || isThere(g_viewerIgnoreFormat)) return true;
  if (!isThere(g_historyFormat)) return false;
  HANDLE data = GetClipboardData(g_historyFormat);
  if (!data || GlobalSize(data) < sizeof(DWORD)) return false;
  ScopedGlobalLock<const void> value(data);
  if (!value.Get()) return false;
  DWORD allowed = 0;
  std::memcpy(&allowed, value.Get(), sizeof allowed);
  return allowed == 0;
}

// The clipboard's text up to its first zero, in the form the copying
// program placed it, as the record to keep: CF_TEXT bytes as they are; a
// Unicode text as its code-page bytes when those give it back exactly,
// else with its Unicode copy beside them. It is converted with the
// program's ANSI code page: the clipboard's locale may be another
// program's input locale, whose code page would lose characters that
// ours holds.
bool ReadPlacedText(std::string* record) {
  // The order of placing is the enumeration's; a text format mostly comes
  // first, so this is mostly one question.
  std::vector<unsigned> formats;
  for (UINT f = 0; (f = EnumClipboardFormats(f)) != 0;) {
    formats.push_back(f);
    if (f == CF_TEXT || f == CF_UNICODETEXT) break;
  }
  const bool unicode = unicode_record::PlacedAsUnicode(formats.data(), formats.size());
  HANDLE data = GetClipboardData(unicode ? CF_UNICODETEXT : CF_TEXT);
  if (!data) return false;
  // The block may lack a terminator; never read past its end.
  const size_t limit = GlobalSize(data);
  if (!unicode) {
    ScopedGlobalLock<const char> text(data);
    if (!text.Get()) return false;
    const void* zero = std::memchr(text.Get(), '\0', limit);
    record->assign(text.Get(), zero ? static_cast<const char*>(zero) : text.Get() + limit);
    return true;
  }
  // A Unicode text is read where the clipboard holds it, measured once:
  // on the 32-bit build a copy of some hundred MB must not be held more
  // often than it has to be (its rendering, the conversion back while it
  // is compared, then the record that grows out of the rendering).
  ScopedGlobalLock<const wchar_t> text(data);
  if (!text.Get()) return false;
  const auto* wide = reinterpret_cast<const char16_t*>(text.Get());
  const size_t units = wcsnlen(text.Get(), limit / sizeof(wchar_t));
  std::string made = CodePageBytes(wide, units);
  const bool givesBack = CodePageGivesBack(made, wide, units);
  unicode_record::ForUnicodeCopy(wide, units, givesBack, &made);
  *record = std::move(made);
  return true;
}

// The file name of the program that placed the content, in the code page
// as the list of programs is kept: the process of the clipboard's owner,
// or, for a content without one, of the window in front. "" for a process
// that cannot be asked (another user's, an elevated one), whose copies
// are then recorded: the rule may leave copies out, never lose one by
// mistake.
std::string PlacingProgram() {
  HWND window = GetClipboardOwner();
  if (!window) window = GetForegroundWindow();
  DWORD pid = 0;
  if (!window || !GetWindowThreadProcessId(window, &pid) || pid == 0) return std::string();
  const ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.Get()) return std::string();
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = static_cast<DWORD>(path.size());
    if (QueryFullProcessImageNameW(process.Get(), 0, &path[0], &n)) {
      path.resize(n);
      break;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) return std::string();
    path.resize(path.size() * 2);
  }
  return FileNameOf(CodePageBytes(reinterpret_cast<const char16_t*>(path.data()), path.size()));
}

// The program is asked once for each content, however often a busy
// clipboard makes the capture try again.
DWORD g_askedSequence = 0;
std::string g_placer;

const std::string& PlacerOf(DWORD sequence) {
  if (sequence != g_askedSequence) {
    g_placer = PlacingProgram();
    g_askedSequence = sequence;
  }
  return g_placer;
}

enum class Read { kText, kNone, kBusy, kLeftOut };

// Reads the clipboard's text (see ReadPlacedText): kNone when there is
// none or it was recorded already, kBusy when the clipboard could not be
// opened, kLeftOut (with its reason) for a content that must not be
// kept. `sequence` receives the number of the content read, taken while
// the clipboard is open so that it belongs to that very content.
Read CopyClipboardText(HWND main, DWORD* sequence, std::string* record, std::wstring* reason) {
  ScopedClipboard clipboard(main, 0);
  if (!clipboard) return Read::kBusy;
  *sequence = GetClipboardSequenceNumber();
  if (*sequence == g_seenSequence) return Read::kNone;
  if (ContentAsksNotToBeKept()) {
    *reason = Widen("記録しないよう印の付いたコピー");
    return Read::kLeftOut;
  }
  if (g_set.ignore[0] && ProgramListed(g_set.ignore, PlacerOf(*sequence))) {
    *reason = Widen(PlacerOf(*sequence).c_str(), CP_ACP);
    return Read::kLeftOut;
  }
  if (!ReadPlacedText(record)) return Read::kNone;
  // Only a copy that would be recorded takes the user's "not the next".
  if (TakeSkipNext(GetTickCount64())) {
    record->clear();
    KillTimer(main, kSkipNextTimer);
    *reason = Widen("次のコピーを記録しない");
    return Read::kLeftOut;
  }
  return Read::kText;
}

// Records the clipboard's text, unless capture is paused or the text is
// our own output. False when the clipboard was busy.
bool TryCapture(HWND main) {
  if (g_set.sus) return true;
  // Our own output (copy and paste) is never recorded.
  if (GetClipboardOwner() == main) return true;
  DWORD sequence = 0;
  std::string record;
  std::wstring reason;
  // The clipboard is closed again once the text is read.
  switch (CopyClipboardText(main, &sequence, &record, &reason)) {
    case Read::kBusy:
      return false;
    case Read::kNone:
      return true;
    case Read::kLeftOut:
      // Never seen again as new, and only the reason is told: nothing of
      // the content is kept anywhere.
      g_seenSequence = sequence;
      TrayTellLeftOut(reason);
      return true;
    case Read::kText:
      break;
  }
  if (AddClip(record)) g_seenSequence = sequence;
  return true;
}

// A capture that runs out of memory (a Unicode copy of some hundred MB on
// the 32-bit build) is given up and told, once: it is not tried again,
// which would tell it again at every retry. The retries run from the
// main message loop, outside any window procedure's guard.
bool CaptureOrGiveUp(HWND main) {
  return GuardMemory([&] { return TryCapture(main); }, true);
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
  if (!CaptureOrGiveUp(main)) BeginWait(main);
}

bool CaptureWaiting() { return g_waiting; }

void OnCaptureRetry(HWND main) {
  if (!g_waiting) return;
  // Content that has changed meanwhile was announced on its own.
  const bool stillThere = GetClipboardSequenceNumber() == g_retrySequence;
  if (!stillThere || GetTickCount64() > g_retryUntil || CaptureOrGiveUp(main)) EndWait(main);
}
