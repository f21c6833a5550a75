#include "listwin/find.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "base/code_page.h"
#include "base/utf8.h"
#include "base/win_text.h"
#include "listwin/list_state.h"
#include "listwin/selection.h"
#include "output/text_match.h"
#include "store/store.h"
#include "store/unicode_record.h"

namespace {

constexpr int kBarHeight = 24;
constexpr int kMarkWidth = 14;    // "/" or "?" before the pattern
constexpr int kStatusWidth = 150;  // what the bar says after it
// Sent to the bar by itself: a search given up for a key typed meanwhile
// runs again once the keys are through.
constexpr UINT kSearchAgain = WM_APP + 20;

constexpr char kNotFound[] = "見つかりません";

HWND g_edit = nullptr, g_mark = nullptr, g_status = nullptr;
WNDPROC g_defaultEditProc = nullptr;
bool g_open = false;
bool g_forward = true;     // the open bar's direction
int g_origin = -1;         // the cursor row when the bar opened
int g_found = -1;          // the row the bar's pattern leads to, -1 none
std::wstring g_typed;      // the bar's text as last searched
std::wstring g_last;       // the last pattern taken
bool g_lastForward = true;

// What the bar looks for: the pattern in the code page, in the entries
// kept in it, and in UTF-8, in the Unicode copies of the others. A pattern
// the code page cannot hold is found in Unicode copies only.
struct FindPattern {
  explicit FindPattern(const std::wstring& text)
      : holdable(HeldByCodePage(std::u16string(text.begin(), text.end()), &codePageBytes)),
        codePage(holdable ? codePageBytes : std::string()),
        utf8(Utf8FromUtf16(reinterpret_cast<const char16_t*>(text.data()), text.size()), true) {}
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
};

struct Scan {
  const FindPattern* pattern;
  std::vector<int>* all;  // every match, when all are wanted
};

RowVerdict Visit(int row, const char* text, std::size_t n, void* context) {
  Scan* scan = static_cast<Scan*>(context);
  const unicode_record::Parts parts = unicode_record::Split(text, n);
  const bool found = parts.unicode
                         ? scan->pattern->utf8.Matches(parts.utf8, parts.utf8Bytes)
                         : scan->pattern->holdable &&
                               scan->pattern->codePage.Matches(parts.rendering, parts.renderingBytes);
  if (!found) return kRowNext;
  if (!scan->all) return kRowFound;
  scan->all->push_back(row);
  return kRowNext;
}

bool NoKeyWaiting(void*) { return !HIWORD(GetQueueStatus(QS_KEY)); }

// The search behind both: `yieldToKeys` gives it up (-2) once the user
// has typed on, since the next key makes it useless.
int SearchRows(const FindPattern& pattern, int start, bool forward, bool yieldToKeys,
               std::vector<int>* all) {
  Scan scan = {&pattern, all};
  const MatchStarts starts = pattern.Starts();
  RowSearch search;
  search.starts = &starts;
  search.visit = Visit;
  search.goOn = yieldToKeys ? NoKeyWaiting : nullptr;
  search.context = &scan;
  return tdb_searchrows(start, forward, search);
}

// The first row after `from` (before it when backward), round the end,
// that holds the pattern; -1 for none, -2 when a key came first.
int FindRow(const FindPattern& pattern, int from, bool forward, bool yieldToKeys) {
  const int rows = GetRowCount();
  if (rows == 0 || pattern.Empty()) return -1;
  const int start = from < 0 ? (forward ? 0 : rows - 1)
                             : forward ? (from + 1) % rows : (from - 1 + rows) % rows;
  return SearchRows(pattern, start, forward, yieldToKeys, nullptr);
}

// In row order: the search goes down from the first row.
std::vector<int> FindAll(const FindPattern& pattern) {
  std::vector<int> rows;
  if (!pattern.Empty()) SearchRows(pattern, 0, true, false, &rows);
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
// that typing never waits for it.
void SayCount(const FindPattern& pattern) {
  std::vector<int> rows;
  if (SearchRows(pattern, 0, true, true, &rows) == -2) return;
  Say((std::to_string(rows.size()) + " 件").c_str());
}

void BackToOrigin() {
  if (g_origin >= 0 && g_origin < GetRowCount()) MoveCursor(-1, g_origin);
}

// The incremental search: the cursor goes to the first row from the one
// after the origin that holds what the bar holds now.
void SearchBar() {
  g_typed = BarText();
  g_found = -1;
  Say("");
  if (g_typed.empty()) return BackToOrigin();
  const FindPattern pattern(g_typed);
  const int row = FindRow(pattern, g_origin, g_forward, true);
  if (row == -2) {
    PostMessageW(g_edit, kSearchAgain, 0, 0);
    return;
  }
  if (row >= 0) {
    g_found = row;
    MoveCursor(-1, row);
    SayCount(pattern);
    return;
  }
  BackToOrigin();
  Say(kNotFound);
  MessageBeep(0);
}

void Layout() {
  RECT client;
  GetClientRect(g_hListWnd, &client);
  SendMessageW(g_hListWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// Closes the bar. Kept: its pattern becomes the last pattern, and the
// cursor stays on its match (or goes back where it was when there is
// none); otherwise the cursor goes back and the last pattern stays.
void CloseBar(bool keep) {
  const std::wstring pattern = BarText();
  if (keep && !pattern.empty()) {
    g_last = pattern;
    g_lastForward = g_forward;
  }
  if (!keep || g_found < 0) BackToOrigin();
  g_open = false;
  for (HWND w : {g_mark, g_edit, g_status}) ShowWindow(w, SW_HIDE);
  Layout();
  SetFocus(g_hListView);
}

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

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case kSearchAgain:
      if (g_open) SearchBar();
      return 0;
  }
  const LRESULT result = CallWindowProcW(g_defaultEditProc, hwnd, message, wParam, lParam);
  // Whatever changed the text (a key, a paste, the input method), the
  // search follows it. Reading the text sends messages to this very
  // procedure, so only the messages that can change it are followed.
  if (g_open && ChangesText(message) && BarText() != g_typed) SearchBar();
  return result;
}

HWND MakeChild(const wchar_t* cls, DWORD style) {
  HWND w = CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 0, 0, g_hListWnd, nullptr,
                           nullptr, nullptr);
  SendMessageW(w, WM_SETFONT, SendMessageW(g_hListWnd, WM_GETFONT, 0, 0), FALSE);
  return w;
}

void MakeBar() {
  if (g_edit && GetParent(g_edit) == g_hListWnd && IsWindow(g_edit)) return;
  g_mark = MakeChild(L"STATIC", SS_CENTER);
  g_edit = MakeChild(L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL);
  g_status = MakeChild(L"STATIC", SS_LEFT);
  g_defaultEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
}

}  // namespace

void OpenFindBar(bool forward) {
  if (!g_hListWnd) return;
  MakeBar();
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

int FindBarHeight() { return g_open ? kBarHeight : 0; }

void PlaceFindBar(const RECT& listView) {
  if (!g_open) return;
  const int y = listView.bottom + 2, h = kBarHeight - 4;
  const int width = listView.right - listView.left;
  const int editWidth = width - kMarkWidth - kStatusWidth > 40 ? width - kMarkWidth - kStatusWidth
                                                               : width - kMarkWidth;
  MoveWindow(g_mark, listView.left, y + 2, kMarkWidth, h, TRUE);
  MoveWindow(g_edit, listView.left + kMarkWidth, y, editWidth, h, TRUE);
  MoveWindow(g_status, listView.left + kMarkWidth + editWidth + 4, y + 2, kStatusWidth - 4, h,
             TRUE);
}

bool FindAgain(bool reverse, long long count) {
  if (g_last.empty()) return false;
  const FindPattern pattern(g_last);
  const bool forward = g_lastForward != reverse;
  const long long times = count > 0 ? count : 1;
  // The matches come round again after the last one: a count larger than
  // their number is taken round the circle instead of searched for.
  std::vector<int> visited;
  int row = GetCursorRow();
  for (long long i = 0; i < times; ++i) {
    row = FindRow(pattern, row, forward, false);
    if (row < 0) return false;
    if (!visited.empty() && row == visited.front()) {
      row = visited[static_cast<size_t>((times - 1) % static_cast<long long>(visited.size()))];
      break;
    }
    visited.push_back(row);
  }
  MoveCursor(-1, row);
  return true;
}

void CloseFindBar() {
  if (g_open) CloseBar(false);
}
