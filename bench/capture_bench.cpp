// How many of N rapid copies from another program the running Kopiwell
// records, at several spacings between the copies, and how long a copy
// takes to reach the working file. Prints figures; asserts nothing.
//
// Run under Wine by scripts/bench.sh.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "clock.h"
#include "driver.h"
#include "history_files.h"

using namespace e2e;

namespace {

// The working file's size, asked of the file system: the program holds the
// file open without sharing, so it cannot be opened.
long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The texts of a data file, in order.
std::vector<std::string> Records(const std::string& bytes) {
  std::vector<std::string> texts;
  ForEachRecord(bytes,
                [&](size_t at, std::uint32_t n) { texts.push_back(bytes.substr(at + 4, n)); });
  return texts;
}

struct Series {
  int spacingMs;
  std::string prefix;
};

}  // namespace

int main() {
  const int kCopies = 200;
  const Series series[] = {{0, "b2b"}, {1, "s01"}, {5, "s05"}, {20, "s20"}};

  TempDir dir;
  WriteIni(dir.Path());  // a configured folder: no first-run welcome
  Kopiwell app(dir.Path());
  if (!app.Start() || !app.WaitReady()) {
    std::printf("kopiwell.exe did not start\n");
    return 1;
  }
  HWND list = FindHistoryList(app.Pid());

  // A viewer of this process joins the chain after the program, so it is
  // told of every change just before the program is: the sequence numbers
  // it finds show how many different contents the notifications could
  // still see (a copy replaced before any notification arrived is lost
  // to every viewer).
  ClipboardViewer watcher;

  std::printf("Capture of %d copies from another program, by spacing between copies\n", kCopies);
  std::printf("%-14s %8s %10s %14s %10s %12s\n", "spacing", "copies", "rows added",
              "contents seen", "", "copies/s");
  std::map<std::string, int> rowsAdded, contentsSeen;
  for (const Series& s : series) {
    const int before = RowCount(list);
    const int seenBefore = watcher.DistinctContents();
    const double start = Now();
    for (int i = 0; i < kCopies; ++i) {
      CopyText(s.prefix + "-" + std::to_string(i));
      if (s.spacingMs > 0) Sleep(static_cast<DWORD>(s.spacingMs));  // pacing, not waiting
    }
    const double elapsed = Now() - start;
    app.Sync();  // every notification sent so far has been handled
    rowsAdded[s.prefix] = RowCount(list) - before;
    contentsSeen[s.prefix] = watcher.DistinctContents() - seenBefore;
    std::printf("%-14s %8d %10d %14d %10s %12.0f\n",
                s.spacingMs ? (std::to_string(s.spacingMs) + " ms").c_str() : "back to back",
                kCopies, rowsAdded[s.prefix], contentsSeen[s.prefix], "", kCopies / elapsed);
  }

  // Latency: copies well apart, from the end of CloseClipboard in this
  // process to the record's bytes in the working file.
  const std::wstring work = dir.File(L"clipwork.dat");
  std::vector<double> latencies;
  for (int i = 0; i < 50; ++i) {
    const long long size = FileSize(work);
    CopyText("latency-" + std::to_string(i));
    const double copied = Now();
    while (FileSize(work) == size && Now() - copied < 2.0) {
    }
    latencies.push_back((Now() - copied) * 1000.0);
    Sleep(30);
  }
  std::sort(latencies.begin(), latencies.end());

  watcher.Leave();
  app.Goodbye();
  DWORD code = 0;
  app.WaitExit(&code);

  const std::vector<std::string> texts = Records(ReadFileBytes(dir.File(L"clip.dat")));
  std::printf("\nAfter Goodbye, in clip.dat (%zu records):\n", texts.size());
  std::printf("%-14s %10s %10s %10s %12s %12s\n", "spacing", "recorded", "distinct", "lost",
              "duplicates", "last once");
  for (const Series& s : series) {
    std::map<std::string, int> seen;
    int recorded = 0;
    for (const std::string& t : texts) {
      if (t.compare(0, s.prefix.size() + 1, s.prefix + "-") == 0) {
        ++seen[t];
        ++recorded;
      }
    }
    const int distinct = static_cast<int>(seen.size());
    const int last = seen[s.prefix + "-" + std::to_string(kCopies - 1)];
    std::printf("%-14s %10d %10d %10d %12d %12s\n",
                s.spacingMs ? (std::to_string(s.spacingMs) + " ms").c_str() : "back to back",
                recorded, distinct, kCopies - distinct, recorded - distinct,
                last == 1 ? "yes" : (std::to_string(last) + " times").c_str());
  }
  std::printf("\nCloseClipboard to record in the working file, 50 copies 30 ms apart:\n");
  std::printf("  median %.2f ms, 90th percentile %.2f ms, max %.2f ms\n",
              latencies[latencies.size() / 2], latencies[latencies.size() * 9 / 10],
              latencies.back());
  return 0;
}
