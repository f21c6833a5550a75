// Selecting and copying in a large history, against the bare list-view
// and file operations underneath, measured in the same process on the
// same data: SelectAll then ClearSelect on 100,000 rows against one
// LVM_SETITEMSTATE over all rows of a bare owner-data list view; the copy
// of 1,000 selected rows and of one 10 MB entry against reading the same
// bytes from the working file plus one memcpy; deleting every row of the
// selection and putting them back; the label of a 100 MB entry against a
// short one's, each asked after the label cache lost it. Prints figures
// and ratios; asserts nothing. Run under Wine by scripts/bench.sh.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/program.h"
#include "clock.h"
#include "history_files.h"
#include "listwin/command_table.h"
#include "listwin/commands.h"
#include "listwin/copy_chosen.h"
#include "listwin/entries.h"
#include "listwin/listwin.h"
#include "listwin/put_buffer.h"
#include "listwin/selection.h"
#include "output/copy.h"
#include "output/shape.h"
#include "output/text_match.h"
#include "settings/settings.h"
#include "store/history.h"
#include "store/phrases.h"
#include "store/store.h"

namespace {

constexpr int kRows = 100000;
constexpr int kReps = 5;

void SetAll(HWND list, UINT state) {
  LVITEMW item = {};
  item.state = state;
  item.stateMask = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

// An owner-data list view, as the program's, in a window that does
// nothing with its notifications.
HWND BareList(int rows) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                ProgramInstance(), nullptr);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                              WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, 0, 0,
                              400, 300, parent, nullptr, ProgramInstance(), nullptr);
  SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
  return list;
}

// Clearing as the plain algorithm does: one search and one state change
// per selected row, each followed by the list window's tracking.
void ClearOneByOne() {
  const int k = static_cast<int>(SendMessageW(TheListWindow().view, LVM_GETSELECTEDCOUNT, 0, 0));
  int row = -1;
  for (int i = 0; i < k; ++i) {
    row = static_cast<int>(SendMessageW(TheListWindow().view, LVM_GETNEXTITEM,
                                        static_cast<WPARAM>(row), LVNI_SELECTED));
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    SendMessageW(TheListWindow().view, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
  }
  ShownList().multiSel = 0;
  MoveCursor(-1, GetCursorRow());
}

// Reads the rows' records through the working file into one buffer, as
// cheaply as a copy could: a seek and a read per record, one memcpy.
double ReadFloor(const std::vector<int>& rows) {
  const double start = Now();
  std::vector<char> bytes;
  for (int row : rows) {
    SetFilePointer(History().Work(), tdb_rowoffset(History(), row), nullptr, FILE_BEGIN);
    DWORD length = 0, got = 0;
    ReadFile(History().Work(), &length, 4, &got, nullptr);
    const size_t at = bytes.size();
    bytes.resize(at + length);
    ReadFile(History().Work(), bytes.data() + at, length, &got, nullptr);
  }
  std::vector<char> out(bytes.size() + 1);
  std::memcpy(out.data(), bytes.data(), bytes.size());
  return Now() - start;
}

RowVerdict NeverFound(int, const char* text, std::size_t n, void* context) {
  return static_cast<const TextMatcher*>(context)->Matches(text, n) ? kRowFound : kRowNext;
}

// A search through every row for a pattern no row holds.
double SearchAll(const Store& store) {
  const TextMatcher matcher("zq-in-no-row");
  MatchStarts starts;
  starts.way[0] = matcher.Starts();
  RowSearch search;
  search.starts = &starts;
  search.visit = NeverFound;
  search.context = const_cast<TextMatcher*>(&matcher);
  const double start = Now();
  if (tdb_searchrows(store, 0, true, search) != -1) std::printf("found what no row holds\n");
  return Now() - start;
}

// The fixed phrases are a store like the history: as many phrases as the
// history's entries, opened, searched and saved, against the history.
// Ends with both saved and closed.
void PrintPhrasesAgainstHistory() {
  History().Abandon();
  WriteFileBytes(L"clip.dat", MakeHistory(kRows));
  WriteFileBytes(L"phrase.dat", MakeHistory(kRows));
  double start = Now();
  tdb_open(History());
  const double historyOpen = Now() - start;
  start = Now();
  tdb_open(Phrases());
  const double open = Now() - start;
  std::vector<double> phraseSearch, historySearch;
  for (int rep = 0; rep < 2 * kReps; ++rep) {  // in turn, each first as often
    if (rep % 2) historySearch.push_back(SearchAll(History()));
    phraseSearch.push_back(SearchAll(Phrases()));
    if (rep % 2 == 0) historySearch.push_back(SearchAll(History()));
  }
  const bool loaded = tdb_rowcount(Phrases()) == kRows && tdb_rowcount(History()) == kRows;
  start = Now();
  const int phrasesSaved = tdb_close(Phrases());
  const double phraseClose = Now() - start;
  start = Now();
  const int historySaved = tdb_close(History());
  const double historyClose = Now() - start;
  std::printf("%d phrases against a history of as many: open %.3fs / %.3fs (%.2fx), search "
              "%.4fs / %.4fs (%.2fx), save %.3fs / %.3fs (%.2fx)%s\n",
              kRows, open, historyOpen, open / historyOpen, Median(phraseSearch),
              Median(historySearch), Median(phraseSearch) / Median(historySearch), phraseClose,
              historyClose, phraseClose / historyClose,
              loaded && phrasesSaved == 0 && historySaved == 0 ? "" : " (NOT loaded or saved)");
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  SetShapeCodePage(GetACP());
  const std::wstring dir = EnterHistoryFolder(L"kwbench-list", MakeHistory(kRows));

  // The bare floor first, in a process that has built no other list,
  // with redrawing suspended as the program does it (with redrawing on,
  // Wine takes some 17 s over 100,000 owner-data rows).
  HWND bare = BareList(kRows);
  std::vector<double> bareSelect, bareClear;
  SendMessageW(bare, WM_SETREDRAW, FALSE, 0);
  for (int rep = 0; rep < kReps; ++rep) {
    double start = Now();
    SetAll(bare, LVIS_SELECTED);
    bareSelect.push_back(Now() - start);
    start = Now();
    SetAll(bare, 0);
    bareClear.push_back(Now() - start);
  }
  DestroyWindow(GetParent(bare));

  SetMainWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, ProgramInstance(), nullptr));
  CreateListWindow();
  tdb_open(History());
  MoveCursor(-1, 0);
  g_set.key = kKeyNormal;  // letters search the labels
  std::vector<double> selectAll, clear, plainClear;
  for (int rep = 0; rep < kReps; ++rep) {
    double start = Now();
    SelectAll();
    selectAll.push_back(Now() - start);
    start = Now();
    ClearSelect();
    clear.push_back(Now() - start);
  }
  SelectAll();
  double start = Now();
  ClearOneByOne();
  plainClear.push_back(Now() - start);

  std::printf("%d rows, medians of %d\n", kRows, kReps);
  std::printf("  bare LVM_SETITEMSTATE, redrawing suspended: select all %.4fs, clear all %.4fs\n",
              Median(bareSelect), Median(bareClear));
  std::printf("  SelectAll %.4fs (%.2fx), ClearSelect %.4fs (%.2fx); one-by-one clearing %.3fs\n",
              Median(selectAll), Median(selectAll) / Median(bareSelect), Median(clear),
              Median(clear) / Median(bareClear), plainClear[0]);

  // A row inserted at the top (a capture, newest first) must move the
  // cursor and selection down with their rows: Windows' owner-data list
  // view does it; Wine's does not, and the program then finds the
  // selected rows itself, looking at every row up to the last one.
  {
    std::vector<double> top, bottom;
    for (int rep = 0; rep < kReps; ++rep) {
      MoveCursor(-1, 0);
      start = Now();
      InsertClip(0, "new at the top");
      top.push_back(Now() - start);
      MoveCursor(-1, GetRowCount() - 1);
      start = Now();
      InsertClip(0, "new at the top");
      bottom.push_back(Now() - start);
    }
    std::printf("a row inserted at the top: %.2f ms with the cursor on row 0, %.2f ms with it "
                "on the last row\n",
                Median(top) * 1e3, Median(bottom) * 1e3);
    // The list view's search as letters are typed, over every label when
    // no row matches (the labels are read from the working file).
    std::vector<double> search;
    for (int rep = 0; rep < kReps; ++rep) {
      MoveCursor(-1, 0);
      start = Now();
      SendMessageW(TheListWindow().view, WM_CHAR, L'#', 1);
      search.push_back(Now() - start);
    }
    std::printf("typing a letter no label begins with: %.3fs over %d rows\n", Median(search),
                GetRowCount());
  }

  // Scrolling past a long entry: the label of a 100 MB code-page entry
  // (which keeps no Unicode copy) asked again once the label cache has
  // lost it, against a short entry's asked the same way. The labels of
  // the thousands of rows below, asked in between as scrolling asks them,
  // push both out of the cache, which has far fewer slots.
  {
    InsertClip(0, std::string(100u << 20, 'x'));
    InsertClip(0, "a short entry");
    std::vector<int> below;
    std::set<std::int32_t> seen = {tdb_rowoffset(History(), 0), tdb_rowoffset(History(), 1)};
    for (int row = 2; row < GetRowCount() && below.size() < 4096; ++row)
      if (seen.insert(tdb_rowoffset(History(), row)).second) below.push_back(row);
    auto scrollPast = [&below](int row) {
      char label[kLabelMax + 1];
      std::string unicode;
      const double begin = Now();
      tdb_label(History(), row, label, &unicode);
      const double took = Now() - begin;
      for (int other : below) tdb_label(History(), other, label, &unicode);
      return took;
    };
    const double first = scrollPast(1);
    std::vector<double> huge, small;
    for (int rep = 0; rep < 4 * kReps; ++rep) {
      huge.push_back(scrollPast(1));
      small.push_back(scrollPast(0));
    }
    std::printf("label of a 100 MB entry, the cache missed (%zu rows between): first %.3f ms, "
                "then %.4f ms; of a short entry %.4f ms = %.2fx\n",
                below.size(), first * 1e3, Median(huge) * 1e3, Median(small) * 1e3,
                Median(huge) / Median(small));
    DeleteClip(0, 1);
  }

  // 1,000 selected rows spread over the list.
  std::vector<int> rows;
  for (int row = 0; row < kRows; row += kRows / 1000) rows.push_back(row);
  ClearSelect();
  for (int row : rows) {
    LVITEMW item = {};
    item.state = item.stateMask = LVIS_SELECTED;
    SendMessageW(TheListWindow().view, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
  }
  std::vector<double> copySel, floorSel;
  for (int rep = 0; rep < kReps; ++rep) {
    floorSel.push_back(ReadFloor(rows));
    start = Now();
    const int result = CopySelClip("", "", 0, kShapeLfNone);
    copySel.push_back(result == 0 ? Now() - start : 1e9);
  }
  std::printf("copy of %zu selected rows: %.4fs against %.4fs = %.2fx\n", rows.size(),
              Median(copySel), Median(floorSel), Median(copySel) / Median(floorSel));
  {
    // Of that, finding the selected rows: the list view looks at every row
    // up to the last selected one.
    start = Now();
    for (int row = -1;
         (row = static_cast<int>(SendMessageW(TheListWindow().view, LVM_GETNEXTITEM,
                                              static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;) {
    }
    const double search = Now() - start;
    std::vector<int> range;
    for (int row = 5000; row < 6000; ++row) range.push_back(row);
    std::vector<double> copyRange, floorRange;
    for (int rep = 0; rep < kReps; ++rep) {
      floorRange.push_back(ReadFloor(range));
      start = Now();
      CopyClip(5000, 5999, "", "", 0, kShapeLfNone);
      copyRange.push_back(Now() - start);
    }
    std::printf("  of which finding the selected rows %.4fs; 1000 rows in a row (no search): "
                "%.4fs against %.4fs = %.2fx\n",
                search, Median(copyRange), Median(floorRange),
                Median(copyRange) / Median(floorRange));
  }

  // One entry of 10 MB, lines of text.
  std::string big;
  while (big.size() < (10u << 20)) big += "one line of a long text, copied whole\r\n";
  InsertClip(0, big.c_str());
  std::vector<double> copyBig, floorBig;
  for (int rep = 0; rep < kReps; ++rep) {
    floorBig.push_back(ReadFloor({0}));
    start = Now();
    const int result = CopyClip(0, 0, "", "", 0, kShapeLfNone);
    copyBig.push_back(result == 0 ? Now() - start : 1e9);
  }
  std::printf("copy of one %.1f MB entry: %.4fs against %.4fs = %.2fx\n", big.size() / 1e6,
              Median(copyBig), Median(floorBig), Median(copyBig) / Median(floorBig));
  // Of that, what the system takes to receive a block of that size.
  std::vector<double> handOver;
  for (int rep = 0; rep < kReps; ++rep) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, big.size() + 1);
    std::memcpy(GlobalLock(block), big.c_str(), big.size() + 1);
    GlobalUnlock(block);
    start = Now();
    OpenClipboard(MainWindow());
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    handOver.push_back(Now() - start);
  }
  std::printf("  of which handing the block to the clipboard: %.4fs\n", Median(handOver));
  std::vector<double> quotedBig;
  for (int rep = 0; rep < kReps; ++rep) {
    start = Now();
    CopyClip(0, 0, "> ", "", 72, kShapeLfInyo);
    quotedBig.push_back(Now() - start);
  }
  std::printf("  the same quoted and wrapped at 72: %.4fs = %.2fx\n", Median(quotedBig),
              Median(quotedBig) / Median(floorBig));

  // Cut and paste of the whole history: every row selected and deleted,
  // then put back below the (now missing) cursor, at the end.
  std::vector<double> deleteAll, putAll;
  for (int rep = 0; rep < kReps; ++rep) {
    SelectAll();
    start = Now();
    DeleteSelClip();
    deleteAll.push_back(Now() - start);
    start = Now();
    DoKeySeq(kVersion19, "p");
    putAll.push_back(Now() - start);
  }
  std::printf("every one of %d rows selected and deleted: %.3fs; put back: %.3fs\n",
              GetRowCount(), Median(deleteAll), Median(putAll));

  // A put of 999,999 rows, then deleting 100,000 selected rows, against
  // the floor of an owner-data list told the same counts and one focus.
  {
    constexpr int kPut = 999999, kDelete = 100000;
    std::vector<double> put, del, floorPut, floorDel;
    HWND floorList = BareList(GetRowCount());
    SendMessageW(floorList, WM_SETREDRAW, FALSE, 0);
    for (int rep = 0; rep < kReps; ++rep) {
      const int rows = GetRowCount();
      start = Now();
      SendMessageW(floorList, LVM_SETITEMCOUNT, rows + kPut, LVSICF_NOINVALIDATEALL);
      LVITEMW focus = {};
      focus.state = focus.stateMask = LVIS_FOCUSED;
      SendMessageW(floorList, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
      floorPut.push_back(Now() - start);
      start = Now();
      SendMessageW(floorList, LVM_SETITEMCOUNT, rows + kPut - kDelete, LVSICF_NOINVALIDATEALL);
      SendMessageW(floorList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&focus));
      floorDel.push_back(Now() - start);
      SendMessageW(floorList, LVM_SETITEMCOUNT, rows, LVSICF_NOINVALIDATEALL);

      MoveCursor(-1, 0);
      ThePutBuffer().Fill(History(), {tdb_rowoffset(History(), 0)});  // one entry
      start = Now();
      DoKeySeq(kVersion19, "999999p");
      put.push_back(Now() - start);
      SelectRange(1, kDelete);
      start = Now();
      DoKeySeq(kVersion19, "dd");
      del.push_back(Now() - start);
      DoKeySeq(kVersion19, "sc");
      DeleteClip(1, kPut - kDelete);  // back to the history it had
    }
    DestroyWindow(GetParent(floorList));
    std::printf("999999p: %.3fs against a floor of %.4fs; deleting %d selected rows: %.3fs "
                "against %.4fs\n",
                Median(put), Median(floorPut), kDelete, Median(del), Median(floorDel));
  }
  PrintPhrasesAgainstHistory();
  std::fflush(stdout);

  History().Abandon();
  LeaveHistoryFolder(dir);
  ExitProcess(0);  // the large list is not taken apart one row at a time
}
