#include "listwin/context_menu.h"
#include "listwin/find.h"
#include "listwin/list_keys.h"
#include "listwin/listwin.h"

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "base/code_page.h"
#include "base/dpi.h"
#include "base/program.h"
#include "base/report.h"
#include "base/utf8.h"
#include "base/win_text.h"
#include "base/window_place.h"
#include "listwin/list_state.h"
#include "listwin/list_switch.h"
#include "listwin/row_label.h"
#include "listwin/selection.h"
#include "output/shape.h"
#include "output/shape_wide.h"
#include "listwin/show_list.h"
#include "listwin/view_sync.h"
#include "output/copy.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/store.h"

namespace {

// Keeps the view in step with the rows while the window exists.
// Both lists' rows, the one shown in the view and the one kept aside.
std::unique_ptr<RowObserver> g_historySync, g_phraseSync;

// At 96 DPI, scaled for the window's density.
constexpr int kColumnWidth = 468;
// The list view's top-left corner in the dialog template, in dialog units.
constexpr int kViewLeftUnits = 6;
constexpr int kViewTopUnits = 9;
// The list view fills the window but for these margins.
constexpr int kListMarginX = 25;
constexpr int kListMarginY = 33;


// While the list is not on screen its view draws nothing: each captured
// row would otherwise cost a repaint request (under Wine about 0.4 ms),
// which slows capture down when copies come quickly.
void ListOnShowWindow(bool shown) {
  HWND view = TheListWindow().view;
  // The list takes commands, not text: with the input method on (as most
  // Japanese users leave it), j, k and dd must still arrive as typed.
  // Text fields (the edit dialog) keep their input method. Done when the
  // list is shown: the input method system is not needed for the start.
  if (shown) ImmAssociateContextEx(view, nullptr, 0);
  SendMessageW(view, WM_SETREDRAW, shown, 0);
  if (shown) InvalidateRect(view, nullptr, TRUE);
}

void FitListView(HWND hwnd) {
  HWND view = TheListWindow().view;
  RECT client;
  GetClientRect(hwnd, &client);
  const int dpi = WindowDpi(hwnd);
  // The view's place in the template, for the dialog's font now; the tab
  // row takes the top of the margin above it and pushes it down.
  RECT place = {kViewLeftUnits, kViewTopUnits, 0, 0};
  MapDialogRect(hwnd, &place);
  const int gap = ForDpi(2, dpi), tabs = ListTabsHeight();
  const int width = client.right - ForDpi(kListMarginX, dpi);
  const int top = tabs > 0 ? std::max<int>(place.top, gap + tabs) : place.top;
  PlaceListTabs(place.left, gap, width);
  SetWindowPos(view, nullptr, place.left, top, width,
               client.bottom - ForDpi(kListMarginY, dpi) - FindBarHeight() - (top - place.top),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (FindBarHeight() == 0) return;  // neither the bar nor a notice
  RECT placed;
  GetWindowRect(view, &placed);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&placed), 2);
  PlaceFindBar(placed);
}

BOOL ListOnInitDialog(HWND hwnd) {
  ListWindow& list = TheListWindow();
  list.hwnd = hwnd;
  list.view = GetDlgItem(hwnd, IDC_LISTVIEW);
  LeaveDialogSizeToUs(hwnd);
  g_historySync = StartViewSync(list.view, list.history);
  g_phraseSync = StartViewSync(list.view, list.phrases);
  MakeListTabs(hwnd);
  ChooseOutput(kOutputNone);
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH;
  column.fmt = LVCFMT_LEFT;
  column.cx = ForDpi(kColumnWidth, WindowDpi(hwnd));
  SendMessageW(list.view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  SubclassListView(list.view);
  SetListTitle(hwnd, g_set.key);
  FitListView(hwnd);
  ListOnShowWindow(false);
  return TRUE;
}

// The geometry is taken only while the list is on screen, where the user
// or ShowList put it: the sizes and places the window passes through while
// it is created hidden must not replace the stored ones.
void ListOnSize(HWND hwnd) {
  const ListWindow& list = TheListWindow();
  if (!list.view) return;
  FitListView(hwnd);
  if (!list.shown) return;
  WindowPlace kept = KeptPlace(KeptWindow::kList);
  if (KeepSize(hwnd, &kept.w, &kept.h, &kept.dpi)) KeepPlace(KeptWindow::kList, kept);
  MeasurePage();
}

// Moved onto a monitor of another density. The dialog manager makes the
// dialog's font and lays out its template's controls for the new density
// after this message; the sizes of our own follow once it is done.
constexpr UINT kRelayout = WM_APP + 40;

void ListOnDpiChanged(HWND hwnd, LPARAM suggested) {
  TakeSuggestedRect(hwnd, suggested);
  PostMessageW(hwnd, kRelayout, 0, 0);
}

void ListOnRelayout(HWND hwnd) {
  SendMessageW(TheListWindow().view, LVM_SETCOLUMNWIDTH, 0, ForDpi(kColumnWidth, WindowDpi(hwnd)));
  FitFindBarFont();
  FitListView(hwnd);
  MeasurePage();
}

void ListOnMove(HWND hwnd) {
  if (!TheListWindow().shown) return;
  WindowPlace kept = KeptPlace(KeptWindow::kList);
  KeepPosition(hwnd, &kept.x, &kept.y);
  KeepPlace(KeptWindow::kList, kept);
}

// A label cut at its 100 bytes may end in the first byte of a double-byte
// character, which would be drawn as a stray mark: it is left out.
size_t LabelBytes(const char* label) {
  const size_t n = std::strlen(label);
  const auto* p = reinterpret_cast<const unsigned char*>(label);
  size_t last = 0;
  for (size_t i = 0; i < n; i += CharacterBytes(p + i, p + n)) last = i;
  return n == kLabelMax && last == n - 1 && IsDBCSLeadByte(p[last]) ? last : n;
}

// What a row shows of its label (as tdb_label gives it): the start of the
// entry's code-page text, or of its Unicode copy where it keeps one, cut
// at the label's columns.
std::u16string RowText(const char* label, const std::string& unicode) {
  std::u16string text;
  if (!unicode.empty() && Utf16FromUtf8(unicode.data(), unicode.size(), &text))
    text = CutToColumns(text, kLabelMax, CodePageWidth);
  else
    text = FromCodePage(label, LabelBytes(label));
  return MarkBreaksAndTabs(text);
}

// The list view holds no rows of its own: it asks for a row's label when
// it draws the row.
void ListOnGetDispInfo(NMLVDISPINFOW* info) {
  if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
  char label[kLabelMax + 1];
  std::string unicode;
  tdb_label(ListStore(), info->item.iItem, label, &unicode);
  const std::u16string text = RowText(label, unicode);
  lstrcpynW(info->item.pszText, reinterpret_cast<const wchar_t*>(text.c_str()),
            info->item.cchTextMax);
}

// What the user typed, and whether a label may merely begin with it.
struct LabelSearch {
  const wchar_t* text;
  int length;
  bool partial;
};

// The typed text is compared with what the row shows: for an entry that
// keeps a Unicode copy, the copy, not the code page's rendering. Every
// label is looked at when no row matches, so a search for a beginning
// converts only the start the typed characters can cover: one shown
// character comes of at most 4 bytes of the label or of the copy (a
// CR LF, a double-byte or a UTF-8 character), and the cut falls where a
// character begins.
bool LabelMatches(const char* label, const std::string& unicode, void* context) {
  const auto* search = static_cast<const LabelSearch*>(context);
  const size_t want = 4 * static_cast<size_t>(search->length);
  std::u16string shown;
  if (!search->partial) {
    shown = RowText(label, unicode);
  } else if (!unicode.empty()) {
    size_t cut = std::min(want, unicode.size());
    while (cut < unicode.size() && (static_cast<unsigned char>(unicode[cut]) & 0xC0) == 0x80) ++cut;
    shown = RowText(label, unicode.substr(0, cut));
  } else {
    const auto* p = reinterpret_cast<const unsigned char*>(label);
    const size_t n = std::strlen(label);
    size_t cut = 0;
    while (cut < n && cut < want) cut += CharacterBytes(p + cut, p + n);
    shown = RowText(std::string(label, cut).c_str(), unicode);
  }
  const int n = static_cast<int>(shown.size());
  if (n < search->length || (!search->partial && n != search->length)) return false;
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                        reinterpret_cast<const wchar_t*>(shown.data()), search->length,
                        search->text, search->length) == CSTR_EQUAL;
}

// The list view's search as the user types letters (key mode 2): the
// first row from the start row on whose label begins with the letters,
// going round to the top; -1 for none.
LRESULT ListOnFindItem(const NMLVFINDITEMW* find) {
  if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
  const int rows = GetRowCount();
  if (rows == 0) return -1;
  LabelSearch search = {find->lvfi.psz, lstrlenW(find->lvfi.psz),
                        (find->lvfi.flags & LVFI_PARTIAL) != 0};
  int start = find->iStart >= 0 && find->iStart < rows ? find->iStart : 0;
  // One letter typed again and again goes on to the next row that begins
  // with it, rather than looking for a row that begins with "kkk".
  bool repeated = search.partial && search.length > 1;
  for (int i = 1; repeated && i < search.length; ++i)
    repeated = search.text[i] == search.text[0];
  if (repeated) {
    search.length = 1;
    start = (start + 1) % rows;
  }
  return tdb_findrow(ListStore(), start, (find->lvfi.flags & LVFI_WRAP) != 0, LabelMatches, &search);
}

BOOL ListOnNotify(HWND hwnd, NMHDR* header) {
  if (OnListTabsNotify(header)) return TRUE;
  switch (header->code) {
    case LVN_GETDISPINFOW:
      ListOnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
      return TRUE;
    case LVN_ODFINDITEMW:
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT,
                        ListOnFindItem(reinterpret_cast<NMLVFINDITEMW*>(header)));
      return TRUE;
    // A change of one row, of all rows (item -1), or of a range of rows.
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
      if (!TrackingPaused()) TrackSelection();
      return TRUE;
  }
  return FALSE;
}

void ListOnActivateApp(bool active) {
  if (active || ErrorBoxOpen()) return;
  ListWindow& list = TheListWindow();
  list.targetFocus = nullptr;
  if (g_set.actv_hide == kHide && list.shown) DismissList();
}

void ListOnDestroy() {
  ListWindow& list = TheListWindow();
  list.history.store->SetObserver(nullptr);
  list.phrases.store->SetObserver(nullptr);
  g_historySync.reset();
  g_phraseSync.reset();
  list.tabs = nullptr;
  // A window made again starts on the history, as at the start.
  list.showing = &list.history;
  list.phrases.selected.clear();
  list.phrases.focus = -1;
  list.hwnd = nullptr;
  list.view = nullptr;
  list.shown = false;
}

INT_PTR ListDlgWork(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return ListOnInitDialog(hwnd);
    case WM_SIZE:
      ListOnSize(hwnd);
      return TRUE;
    case WM_MOVE:
      ListOnMove(hwnd);
      return TRUE;
    case kDpiChanged:
      ListOnDpiChanged(hwnd, lParam);
      return FALSE;
    case kRelayout:
      ListOnRelayout(hwnd);
      return TRUE;
    case WM_SHOWWINDOW:
      ListOnShowWindow(wParam != FALSE);
      return FALSE;
    case WM_NOTIFY:
      return ListOnNotify(hwnd, reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      ShowListMenu(hwnd, lParam);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          ConfirmOutput();
          return TRUE;
        case IDCANCEL:
          DismissList();
          return TRUE;
      }
      return OnListMenuCommand(LOWORD(wParam));
    case WM_ACTIVATEAPP:
      ListOnActivateApp(wParam != FALSE);
      return FALSE;
    case WM_DESTROY:
      ListOnDestroy();
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK ListDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardMemory([&] { return ListDlgWork(hwnd, message, wParam, lParam); }, TRUE);
}

}  // namespace

HWND CreateListWindow() {
  return CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_LIST), nullptr, ListDlgProc, 0);
}

HWND ListWindowHandle() { return TheListWindow().hwnd; }

bool ListShown() { return TheListWindow().shown; }

