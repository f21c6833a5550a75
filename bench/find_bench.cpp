// Finding a text in a history of 1,000,000 entries (about 100 MB), as the
// find bar does, against a bare scan of the same working file for the
// same pattern measured in the same run: large block reads, memchr for
// the pattern's first byte, then a compare. Two searches: one that finds
// nothing, one that finds only the last entry; and the first once more,
// up from the last row (as "?" searches), through the rows the other way.
// Prints figures and ratios; asserts nothing. Run under Wine by
// scripts/bench.sh list.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/program.h"
#include "clock.h"
#include "history_files.h"
#include "listwin/listwin.h"
#include "output/shape.h"
#include "output/text_match.h"
#include "store/history.h"
#include "store/store.h"

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
  SetFilePointer(g_store, 0, nullptr, FILE_BEGIN);
  long long found = 0;
  DWORD got = 0;
  while (ReadFile(g_store, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) && got) {
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
  *row = tdb_searchrows(forward ? 0 : kEntries - 1, forward, search);
  return Now() - start;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  SetShapeCodePage(GetACP());
  EnterHistoryFolder(L"kwbench-find", MakeFindHistory());
  SetMainWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                ProgramInstance(), nullptr));
  CreateListWindow();
  g_store = tdb_open(kBaseName, g_hListView);
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
              static_cast<double>(tdb_savedsize()) / 1e6, kReps);
  std::printf("  %-32s search %6.1f ms, bare %6.1f ms, %.2fx  (row %d)\n",
              "\"qqq\", found nowhere:", Median(none) * 1e3, Median(bareNone) * 1e3, Median(none) / Median(bareNone),
              noneRow);
  std::printf("  %-32s search %6.1f ms, bare %6.1f ms, %.2fx  (row %d)\n",
              "\"needle-xqz\", in the last entry:", Median(last) * 1e3, Median(bareLast) * 1e3, Median(last) / Median(bareLast),
              lastRow);
  std::printf("  %-32s search %6.1f ms, bare %6.1f ms, %.2fx  (row %d)\n",
              "\"qqq\", up from the last row:", Median(up) * 1e3, Median(bareNone) * 1e3,
              Median(up) / Median(bareNone), upRow);
  return 0;
}
