// Finding a text in a history of 1,000,000 entries (about 100 MB), as the
// find bar does, against a bare scan of the same working file for the
// same pattern measured in the same run: large block reads, memchr for
// the pattern's first byte, then a compare. Two searches: one that finds
// nothing, one that finds only the last entry; and the first once more,
// up from the last row (as "?" searches), through the rows the other way.
// Then the find bar as a user meets it: a burst of keys typed into the
// open bar faster than it searches, timed from the last key to the
// cursor on the match, against one search of the same pattern; and a
// count of 99999 in front of n with every row matching, against one
// search through every row. With the argument "long": a history holding
// one entry of 200 MB, searched for a pattern at its end, against the
// bare scan, and the memory the search takes beyond what the process
// held before it.
// Prints figures and ratios; asserts nothing. Run under Wine by
// scripts/bench.sh list.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <cstring>
#include <string>
#include <vector>

#include "base/program.h"
#include "clock.h"
#include "common/keys.h"
#include "common/list_loop.h"
#include "history_files.h"
#include "listwin/find.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "output/shape.h"
#include "output/text_match.h"
#include "store/history.h"
#include "store/store.h"

// The bytes the program holds through new, and the most it has held: the
// memory a search takes is what it allocates (Wine keeps no peak of a
// process's memory).
std::size_t g_heldBytes = 0, g_peakBytes = 0;

// The heap's own size of a block keeps the count; the compiler, seeing
// new and free meet, would warn of a mismatch that is the point here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  void* block = std::malloc(n ? n : 1);
  if (!block) throw std::bad_alloc();
  g_heldBytes += _msize(block);
  if (g_heldBytes > g_peakBytes) g_peakBytes = g_heldBytes;
  return block;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  g_heldBytes -= _msize(p);
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
#pragma GCC diagnostic pop

namespace {

constexpr int kEntries = 1000000;
constexpr int kReps = 5;

// 100-byte texts of ASCII and double-byte characters, none holding a
// "q", and the last one holding the needle.
std::string MakeFindHistory() {
  std::string bytes = Int32Bytes(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    std::string text = "entry " + std::to_string(i) + " \x82\xb1\x82\xea\x82\xcd text ";
    while (text.size() < 100) text += "abcdefghij\x83\x65\x83\x58";
    text.resize(100);
    if (i == kEntries - 1) text.replace(10, 10, "needle-xqz");
    bytes += Record(text);
  }
  return bytes;
}

// Reads the whole working file in large blocks and looks for the
// pattern: memchr for its first byte, then a compare (the pieces of a
// pattern cut by a block's end are not looked for).
double BareScan(const std::string& pattern) {
  const double start = Now();
  std::vector<char> block(1 << 20);
  SetFilePointer(History().Work(), 0, nullptr, FILE_BEGIN);
  long long found = 0;
  DWORD got = 0;
  while (ReadFile(History().Work(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr) && got) {
    const char* end = block.data() + got;
    for (const char* p = block.data();
         (p = static_cast<const char*>(std::memchr(p, pattern[0], end - p))); ++p)
      if (static_cast<size_t>(end - p) >= pattern.size() &&
          std::memcmp(p, pattern.data(), pattern.size()) == 0)
        ++found;
  }
  const double seconds = Now() - start;
  if (found < 0) std::printf("unreachable\n");
  return seconds;
}

RowVerdict Visit(int, const char* text, std::size_t n, void* context) {
  return static_cast<const TextMatcher*>(context)->Matches(text, n) ? kRowFound : kRowNext;
}

double Search(const char* pattern, int* row, bool forward = true) {
  const TextMatcher matcher(pattern);
  MatchStarts starts;
  starts.way[0] = matcher.Starts();
  RowSearch search;
  search.starts = &starts;
  search.visit = Visit;
  search.context = const_cast<TextMatcher*>(&matcher);
  const double start = Now();
  *row = tdb_searchrows(History(), forward ? 0 : kEntries - 1, forward, search);
  return Now() - start;
}

HWND Bar() { return FindWindowExW(TheListWindow().hwnd, nullptr, L"Edit", nullptr); }

// The program's loop, until `done`: the messages first, the owed search
// when none waits. `key` is told of every key message taken.
template <typename Done, typename Key>
void RunLoopUntil(Done done, Key key) {
  for (const double start = Now(); !done() && Now() - start < 60;)
    if (!TakeListMessage(key)) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
}

// Until the queue is empty and nothing is owed: the bar drawn, the
// count of the matches made.
void Settle() {
  while (TakeListMessage()) {
  }
}

// Types the pattern into the open bar in one burst; the time from the
// last key's press being taken to the cursor on `row`.
double Burst(const std::wstring& pattern, int row) {
  MoveCursor(-1, 0);
  OpenFindBar(true);
  Settle();
  std::vector<INPUT> keys = TypedKeys(pattern);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  std::size_t presses = 0;
  double last = 0;
  RunLoopUntil([&] { return presses == pattern.size() && GetCursorRow() == row; },
               [&](const MSG& msg) {
                 if (msg.message == WM_KEYDOWN && ++presses == pattern.size()) last = Now();
               });
  const double seconds = Now() - last;
  Settle();
  CloseFindBar();
  return seconds;
}

// 99999n with the last pattern found in every row.
double CountedFindAgain(const wchar_t* everywhere) {
  OpenFindBar(true);
  SendMessageW(Bar(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(everywhere));
  SendMessageW(Bar(), WM_KEYDOWN, VK_RETURN, 0);
  MoveCursor(-1, 0);
  const double start = Now();
  FindAgain(false, 99999);
  return Now() - start;
}


// A data file of a few short entries and one of `mb` MB that ends in the
// needle, written a block at a time so that the process never holds it.
void WriteLongHistory(int mb) {
  HANDLE file = CreateFileW(L"clip.dat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD wrote = 0;
  std::string head = Int32Bytes(4) + Record("short one") + Record("short two") + Record("short three");
  head += Int32Bytes(mb << 20);
  WriteFile(file, head.data(), static_cast<DWORD>(head.size()), &wrote, nullptr);
  std::string block;
  while (block.size() < (1u << 20)) block += "a long entry \x82\xb1\x82\xea ";
  block.resize(1u << 20);
  for (int i = 0; i < mb; ++i) {
    if (i == mb - 1) block.replace(block.size() - 10, 10, "needle-xqz");
    WriteFile(file, block.data(), 1u << 20, &wrote, nullptr);
  }
  CloseHandle(file);
}

void LongEntry() {
  constexpr int kMb = 200;
  const std::wstring dir = EnterHistoryFolder(L"kwbench-long", "");
  WriteLongHistory(kMb);
  tdb_open(History());
  const std::size_t before = g_heldBytes;
  g_peakBytes = g_heldBytes;
  std::vector<double> search, bare;
  int row = 0;
  for (int rep = 0; rep < kReps; ++rep) {
    bare.push_back(BareScan("needle-xqz"));
    // As the bar searches: the long record is looked at in pieces.
    OpenFindBar(true);
    const double start = Now();
    SendMessageW(Bar(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"needle-xqz"));
    search.push_back(Now() - start);
    row = GetCursorRow();
    CloseFindBar();
  }
  std::printf("find in a history holding one entry of %d MB, median of %d:\n"
              "  \"needle-xqz\", at its end: search %6.1f ms, bare scan %6.1f ms, %.2fx (cursor %d)\n"
              "  memory the searches took beyond the %.1f MB the heap held before them: %.1f MB\n",
              kMb, kReps, Median(search) * 1e3, Median(bare) * 1e3, Median(search) / Median(bare),
              row, static_cast<double>(before) / 1e6,
              static_cast<double>(g_peakBytes - before) / 1e6);
  History().Abandon();
  LeaveHistoryFolder(dir);
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  SetShapeCodePage(GetACP());
  if (argc > 1 && std::strcmp(argv[1], "long") == 0) {
    SetMainWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  ProgramInstance(), nullptr));
    CreateListWindow();
    LongEntry();
    return 0;
  }
  EnterHistoryFolder(L"kwbench-find", MakeFindHistory());
  SetMainWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                ProgramInstance(), nullptr));
  CreateListWindow();
  tdb_open(History());
  const char* const kNone = "qqq";
  const char* const kLast = "needle-xqz";
  std::vector<double> bareNone, bareLast, none, last, up;
  int noneRow = 0, lastRow = 0, upRow = 0;
  for (int rep = 0; rep < kReps; ++rep) {
    bareNone.push_back(BareScan(kNone));
    none.push_back(Search(kNone, &noneRow));
    bareLast.push_back(BareScan(kLast));
    last.push_back(Search(kLast, &lastRow));
    up.push_back(Search(kNone, &upRow, false));
  }
  std::printf("find in %d entries (%.0f MB), median of %d, against a bare scan for the same\n"
              "pattern (1 MB reads, memchr for its first byte, compare):\n", kEntries,
              static_cast<double>(tdb_savedsize(History())) / 1e6, kReps);
  std::printf("  %-32s search %6.1f ms, bare %6.1f ms, %.2fx  (row %d)\n",
              "\"qqq\", found nowhere:", Median(none) * 1e3, Median(bareNone) * 1e3, Median(none) / Median(bareNone),
              noneRow);
  std::printf("  %-32s search %6.1f ms, bare %6.1f ms, %.2fx  (row %d)\n",
              "\"needle-xqz\", in the last entry:", Median(last) * 1e3, Median(bareLast) * 1e3, Median(last) / Median(bareLast),
              lastRow);
  std::printf("  %-32s search %6.1f ms, bare %6.1f ms, %.2fx  (row %d)\n",
              "\"qqq\", up from the last row:", Median(up) * 1e3, Median(bareNone) * 1e3,
              Median(up) / Median(bareNone), upRow);

  ShowWindow(TheListWindow().hwnd, SW_SHOW);
  SetForegroundWindow(TheListWindow().hwnd);
  // Each figure beside its baseline, measured in turn.
  std::vector<double> burst, once, counted, every;
  for (int rep = 0; rep < 2 * kReps; ++rep) {
    burst.push_back(Burst(L"needle-xqz", kEntries - 1));
    once.push_back(Search(kLast, &lastRow));
    counted.push_back(CountedFindAgain(L"entry"));
    every.push_back(Search(kNone, &noneRow));
  }
  std::printf("  %-32s last key to cursor %6.1f ms, one search %6.1f ms, %.2fx\n",
              "burst of \"needle-xqz\":", Median(burst) * 1e3, Median(once) * 1e3,
              Median(burst) / Median(once));
  std::printf("  %-32s %6.1f ms, one search through every row %6.1f ms, %.2fx (row %d)\n",
              "99999n, every row matching:", Median(counted) * 1e3, Median(every) * 1e3,
              Median(counted) / Median(every), GetCursorRow());
  return 0;
}
