#include "listwin/find.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/code_page.h"
#include "base/dpi.h"
#include "base/report.h"
#include "base/utf8.h"
#include "base/win_text.h"
#include "listwin/list_state.h"
#include "listwin/selection.h"
#include "output/record_match.h"
#include "output/text_match.h"
#include "store/store.h"

namespace {

// At 96 DPI, scaled for the list's density; the bar's height comes from
// its font.
constexpr int kMarkWidth = 14;    // "/" or "?" before the pattern
constexpr int kStatusWidth = 150;  // what the bar says after it
constexpr int kBarGap = 2;         // between the list view and the bar, and below it

constexpr char kNotFound[] = "見つかりません";

HWND g_edit = nullptr, g_mark = nullptr, g_status = nullptr;
WNDPROC g_defaultEditProc = nullptr;
bool g_open = false;
bool g_notice = false;  // the bar's line shows a notice, the bar itself closed
bool g_forward = true;     // the open bar's direction
int g_origin = -1;         // the cursor row when the bar opened
int g_found = -1;          // the row the bar's pattern leads to, -1 none
std::wstring g_typed;      // the bar's text as last searched
// Given up for a key typed meanwhile, and owed once the keys are through:
// the search for g_typed, or the count of its matches.
bool g_searchOwed = false, g_countOwed = false;
std::wstring g_last;       // the last pattern taken
bool g_lastForward = true;

// What the bar looks for: the pattern in the code page, in the entries
// kept in it, and in UTF-8, in the Unicode copies of the others. A pattern
// the code page cannot hold is found in Unicode copies only.
struct FindPattern {
  explicit FindPattern(const std::wstring& text)
      : holdable(HeldByCodePage(std::u16string(text.begin(), text.end()), &codePageBytes)),
        codePage(holdable ? codePageBytes : std::string()),
        utf8(Utf8FromUtf16(reinterpret_cast<const char16_t*>(text.data()), text.size()), true),
        record(holdable ? &codePage : nullptr, utf8) {}
  bool Empty() const { return utf8.Empty(); }
  // The places where either can begin.
  MatchStarts Starts() const {
    MatchStarts starts;
    starts.way[0] = utf8.Starts();
    if (holdable && codePage.Pattern() != utf8.Pattern()) {
      starts.way[1] = codePage.Starts();
      starts.ways = 2;
    }
    return starts;
  }

  std::string codePageBytes;
  bool holdable;
  TextMatcher codePage;
  TextMatcher utf8;
  RecordMatcher record;
};

// When a search gives itself up for the user's keys.
enum class Yield {
  kNever,
  kKeyWaiting,  // while any key waits in the queue, its release too
  kNewKey,      // once a key comes that was not in the queue at the start
};

struct Scan {
  const FindPattern* pattern;
  std::vector<int>* all;  // the matches, when they are wanted
  std::size_t enough;     // with `all`: found once it holds this many
  Yield yield;
  ULONGLONG askedAt;      // when the queue was last asked, 0 for never
};

// The queue is asked at most this often: each question is a round trip
// to the system (under Wine to its server), and a search of a million
// rows would otherwise spend a third of its time asking.
constexpr ULONGLONG kAskQueueEveryMs = 10;

RowVerdict Verdict(Scan* scan, int row, bool found) {
  if (!found) return kRowNext;
  if (!scan->all) return kRowFound;
  scan->all->push_back(row);
  return scan->all->size() == scan->enough ? kRowFound : kRowNext;
}

RowVerdict Visit(int row, const char* text, std::size_t n, void* context) {
  Scan* scan = static_cast<Scan*>(context);
  return Verdict(scan, row, scan->pattern->record.Matches(text, n));
}

RowVerdict VisitPieces(int row, TextPieces& pieces, void* context) {
  Scan* scan = static_cast<Scan*>(context);
  RecordStream stream(scan->pattern->record);
  const char* piece = nullptr;
  std::size_t n = 0;
  while (pieces.Next(&piece, &n)) stream.Feed(piece, n);
  return Verdict(scan, row, stream.Matches());
}

// GetQueueStatus reads the queue without handing over the messages sent
// to this thread meanwhile (PeekMessage would run them, a capture among
// them, in the middle of the search). Its high word tells what waits in
// the queue now, its low word what came since it was last asked.
bool GoOn(void* context) {
  Scan* scan = static_cast<Scan*>(context);
  const ULONGLONG now = GetTickCount64();
  if (scan->askedAt != 0 && now - scan->askedAt < kAskQueueEveryMs) return true;
  scan->askedAt = now;
  switch (scan->yield) {
    case Yield::kKeyWaiting:
      return !HIWORD(GetQueueStatus(QS_KEY));
    case Yield::kNewKey:
      return !(LOWORD(GetQueueStatus(QS_KEY)) & QS_KEY);
    case Yield::kNever:
      break;
  }
  return true;
}

// The search behind them all: -2 when it gave itself up for a key.
int SearchRows(const FindPattern& pattern, int start, bool forward, Yield yield,
               std::vector<int>* all, std::size_t enough = 0) {
  Scan scan = {&pattern, all, enough, yield, 0};
  const MatchStarts starts = pattern.Starts();
  RowSearch search;
  search.starts = &starts;
  search.visit = Visit;
  search.visitPieces = VisitPieces;
  search.goOn = yield == Yield::kNever ? nullptr : GoOn;
  search.context = &scan;
  if (yield == Yield::kNewKey) GetQueueStatus(QS_KEY);  // what came before is not new
  return tdb_searchrows(ListStore(), start, forward, search);
}

// Where a search from `from` begins: the row after it (before it when
// backward), round the end; the end itself for none.
int RowAfter(int from, bool forward) {
  const int rows = GetRowCount();
  if (from < 0) return forward ? 0 : rows - 1;
  return forward ? (from + 1) % rows : (from - 1 + rows) % rows;
}

// The first row after `from` that holds the pattern; -1 for none, -2
// when a key came first.
int FindRow(const FindPattern& pattern, int from, bool forward, Yield yield) {
  if (GetRowCount() == 0 || pattern.Empty()) return -1;
  return SearchRows(pattern, RowAfter(from, forward), forward, yield, nullptr);
}

// In row order: the search goes down from the first row.
std::vector<int> FindAll(const FindPattern& pattern) {
  std::vector<int> rows;
  if (!pattern.Empty()) SearchRows(pattern, 0, true, Yield::kNever, &rows);
  return rows;
}

std::wstring BarText() {
  const int n = GetWindowTextLengthW(g_edit);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(g_edit, &text[0], n + 1)));
  return text;
}

void Say(const char* status) { SetWindowTextW(g_status, Widen(status).c_str()); }

// How many rows hold the pattern, once the cursor is on the first: a
// look through every row, which a key typed meanwhile cuts short, so
// that typing never waits for it; it is owed until the keys are through.
void SayCount(const FindPattern& pattern, Yield yield) {
  std::vector<int> rows;
  g_countOwed = SearchRows(pattern, 0, true, yield, &rows) == -2;
  if (!g_countOwed) Say((std::to_string(rows.size()) + " 件").c_str());
}

void BackToOrigin() {
  if (g_origin >= 0 && g_origin < GetRowCount()) MoveCursor(-1, g_origin);
}

// The incremental search: the cursor goes to the first row from the one
// after the origin that holds what the bar holds now. While it runs, a
// key typed meanwhile gives it up (it would be useless after the key),
// and the search is owed until the keys are through.
//
// Owed work runs again only from the message loop's idle point, never
// from a message posted to itself: a thread takes posted messages before
// input, so a search reposted while a key waits would be taken before
// that key for ever, and no key would reach the bar again.
void SearchBar(Yield yield) {
  g_typed = BarText();
  g_found = -1;
  g_searchOwed = g_countOwed = false;
  Say("");
  if (g_typed.empty()) return BackToOrigin();
  const FindPattern pattern(g_typed);
  const int row = FindRow(pattern, g_origin, g_forward, yield);
  if (row == -2) {
    g_searchOwed = true;
    return;
  }
  if (row >= 0) {
    g_found = row;
    MoveCursor(-1, row);
    // Counted once the list shows the cursor there.
    g_countOwed = true;
    return;
  }
  BackToOrigin();
  Say(kNotFound);
  MessageBeep(0);
}

void Layout() {
  HWND listWnd = TheListWindow().hwnd;
  RECT client;
  GetClientRect(listWnd, &client);
  SendMessageW(listWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// Closes the bar. Kept: its pattern becomes the last pattern, and the
// cursor stays on its match (or goes back where it was when there is
// none); otherwise the cursor goes back and the last pattern stays.
void CloseBar(bool keep) {
  // Enter after keys the search has not caught up with: the cursor goes
  // to the match of everything typed.
  if (keep && (g_searchOwed || BarText() != g_typed)) SearchBar(Yield::kNever);
  g_searchOwed = g_countOwed = false;
  const std::wstring pattern = BarText();
  if (keep && !pattern.empty()) {
    g_last = pattern;
    g_lastForward = g_forward;
  }
  if (!keep || g_found < 0) BackToOrigin();
  g_open = false;
  for (HWND w : {g_mark, g_edit, g_status}) ShowWindow(w, SW_HIDE);
  Layout();
  SetFocus(TheListWindow().view);
}

// How long a notice stays in the bar's line.
constexpr UINT kNoticeMs = 4000;
constexpr UINT_PTR kNoticeTimer = 0x4B57;

void EndNotice() {
  if (!g_notice) return;
  g_notice = false;
  KillTimer(TheListWindow().hwnd, kNoticeTimer);
  if (!g_open) {
    ShowWindow(g_status, SW_HIDE);
    Layout();
  }
}

void CALLBACK NoticeTimerProc(HWND, UINT, UINT_PTR, DWORD) { EndNotice(); }

// Alt+Enter: every row that holds the pattern, selected for one output.
void SelectMatches() {
  const std::vector<int> rows = FindAll(FindPattern(BarText()));
  if (rows.empty()) {
    MessageBeep(0);
    g_found = -1;
    return CloseBar(true);
  }
  g_found = rows.front();
  CloseBar(true);
  SelectRows(rows);
}

bool ChangesText(UINT message) {
  switch (message) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
      return true;
  }
  return false;
}

LRESULT EditWork(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      // Enter and Escape are the bar's, not the list dialog's.
      return DLGC_WANTALLKEYS | CallWindowProcW(g_defaultEditProc, hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        CloseBar(wParam == VK_RETURN);
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_RETURN) {
        SelectMatches();
        return 0;
      }
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (wParam == '\r' || wParam == 0x1b || wParam == '\n') return 0;  // no beep
      break;
  }
  const LRESULT result = CallWindowProcW(g_defaultEditProc, hwnd, message, wParam, lParam);
  // Whatever changed the text (a key, a paste, the input method), the
  // search follows it. Reading the text sends messages to this very
  // procedure, so only the messages that can change it are followed.
  if (g_open && ChangesText(message) && BarText() != g_typed) SearchBar(Yield::kKeyWaiting);
  return result;
}

// The bar's keys come through IsDialogMessage, not the list's procedure,
// so the bar guards its own work.
LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardMemory([&] { return EditWork(hwnd, message, wParam, lParam); });
}

HWND MakeChild(const wchar_t* cls, DWORD style) {
  HWND listWnd = TheListWindow().hwnd;
  HWND w = CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 0, 0, listWnd, nullptr, nullptr,
                           nullptr);
  SendMessageW(w, WM_SETFONT, SendMessageW(listWnd, WM_GETFONT, 0, 0), FALSE);
  return w;
}

void MakeBar() {
  if (g_edit && GetParent(g_edit) == TheListWindow().hwnd && IsWindow(g_edit)) return;
  g_mark = MakeChild(L"STATIC", SS_CENTER);
  g_edit = MakeChild(L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL);
  g_status = MakeChild(L"STATIC", SS_LEFT);
  g_defaultEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
}

}  // namespace

void OpenFindBar(bool forward) {
  if (!TheListWindow().hwnd) return;
  MakeBar();
  EndNotice();
  g_forward = forward;
  g_origin = GetCursorRow();
  g_found = -1;
  g_typed.clear();
  g_open = true;
  SetWindowTextW(g_mark, forward ? L"/" : L"?");
  SetWindowTextW(g_edit, L"");
  Say("");
  for (HWND w : {g_mark, g_edit, g_status}) ShowWindow(w, SW_SHOW);
  Layout();
  SetFocus(g_edit);
}

bool FindBarOpen() { return g_open; }

bool RunOwedSearch() {
  if (!g_open || !(g_searchOwed || g_countOwed)) return false;
  // The loop has just found its queue empty: a key that the queue's
  // status still shows is none it can take, and must not make the search
  // give itself up for ever.
  const Yield yield = HIWORD(GetQueueStatus(QS_KEY)) ? Yield::kNever : Yield::kKeyWaiting;
  GuardMemory([yield] {
    if (g_searchOwed || BarText() != g_typed)
      SearchBar(yield);
    else
      SayCount(FindPattern(g_typed), yield);
    return 0;
  });
  return true;
}

namespace {

// The edit box's height: a line of its font, its border and the room the
// edit control leaves above and below its text.
int EditHeight() {
  return FontHeight(g_edit) + 2 * GetSystemMetrics(SM_CYBORDER) + 2 * ForDpi(2, WindowDpi(g_edit));
}

}  // namespace

int FindBarHeight() {
  return g_open || g_notice ? EditHeight() + 2 * ForDpi(kBarGap, WindowDpi(TheListWindow().hwnd))
                            : 0;
}

void ShowListNotice(const std::wstring& text) {
  HWND listWnd = TheListWindow().hwnd;
  if (!listWnd || g_open) return;
  MakeBar();
  g_notice = true;
  SetWindowTextW(g_status, text.c_str());
  ShowWindow(g_status, SW_SHOW);
  Layout();
  SetTimer(listWnd, kNoticeTimer, kNoticeMs, NoticeTimerProc);
}

void FitFindBarFont() {
  if (!g_edit || !IsWindow(g_edit)) return;
  const WPARAM font = SendMessageW(TheListWindow().hwnd, WM_GETFONT, 0, 0);
  for (HWND w : {g_mark, g_edit, g_status}) SendMessageW(w, WM_SETFONT, font, FALSE);
}

void PlaceFindBar(const RECT& listView) {
  if (!g_open && !g_notice) return;
  const int dpi = WindowDpi(TheListWindow().hwnd);
  const int mark = ForDpi(kMarkWidth, dpi), status = ForDpi(kStatusWidth, dpi);
  const int gap = ForDpi(kBarGap, dpi);
  const int y = listView.bottom + gap, h = EditHeight();
  const int width = listView.right - listView.left;
  if (!g_open) {  // a notice: the whole line
    MoveWindow(g_status, listView.left + gap, y + gap, width - 2 * gap, h - gap, TRUE);
    return;
  }
  const int editWidth =
      width - mark - status > ForDpi(40, dpi) ? width - mark - status : width - mark;
  MoveWindow(g_mark, listView.left, y + gap, mark, h - gap, TRUE);
  MoveWindow(g_edit, listView.left + mark, y, editWidth, h, TRUE);
  MoveWindow(g_status, listView.left + mark + editWidth + 2 * gap, y + gap, status - 2 * gap,
             h - gap, TRUE);
}

bool FindAgain(bool reverse, long long count) {
  if (g_last.empty() || GetRowCount() == 0) return false;
  const FindPattern pattern(g_last);
  const bool forward = g_lastForward != reverse;
  const long long times = count > 0 ? count : 1;
  // One pass round the circle from the row after the cursor gathers the
  // matches up to the count-th; when fewer come round, they are counted
  // on round the circle. A key typed meanwhile ends a counted search,
  // and the cursor stays.
  std::vector<int> matches;
  const std::size_t enough = static_cast<std::size_t>(std::min<long long>(times, GetRowCount()));
  const int result = SearchRows(pattern, RowAfter(GetCursorRow(), forward), forward,
                                times > 1 ? Yield::kNewKey : Yield::kNever, &matches, enough);
  if (result == -2) return true;
  if (matches.empty()) return false;
  MoveCursor(-1, matches[static_cast<size_t>((times - 1) % static_cast<long long>(matches.size()))]);
  return true;
}

void CloseFindBar() {
  if (g_open) CloseBar(false);
}
