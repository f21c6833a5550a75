// How many of N rapid copies from another program the running Kopiwell
// records, at several spacings between the copies and beside other
// clipboard programs that keep the clipboard busy or break the viewer
// chain, and how long a copy takes to reach the working file. Prints
// figures; asserts nothing.
//
// Run under Wine by scripts/bench.sh.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
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

// What else runs beside the program during a series.
enum class Company { kNone, kReader, kBadViewers };

struct Series {
  int spacingMs;
  std::string prefix;
  Company company;
  const char* name;
};

// Waits until the rows have grown by `expected`, or have not grown for
// 1.5 s; returns how many were added.
int WaitForRows(HWND list, int before, int expected) {
  int rows = RowCount(list);
  double changed = Now();
  while (rows - before < expected && Now() - changed < 1.5) {
    Sleep(5);
    const int now = RowCount(list);
    if (now != rows) changed = Now();
    rows = now;
  }
  return rows - before;
}

}  // namespace

// Copies made right after a start, the program ready and idle: of
// `starts` runs, how many recorded the copy.
int CopiesRightAfterStart(int starts) {
  int recorded = 0;
  for (int i = 0; i < starts; ++i) {
    TempDir dir;
    WriteIni(dir.Path());
    Kopiwell app(dir.Path());
    if (!app.Start() || !app.WaitReady()) continue;
    HWND list = FindHistoryList(app.Pid());
    CopyText("right after start " + std::to_string(i));
    if (WaitForRows(list, 0, 1) == 1) ++recorded;
    app.Goodbye();
    DWORD code = 0;
    app.WaitExit(&code);
  }
  return recorded;
}

// The median time from a copy's CloseClipboard to its record in the
// working file, of 50 copies 30 ms apart, in a program of its own with
// these settings.
double MedianLatency(std::initializer_list<IniValue> ini) {
  TempDir dir;
  WriteIni(dir.Path(), ini);
  Kopiwell app(dir.Path());
  if (!app.Start() || !app.WaitReady()) return -1;
  const std::wstring work = dir.File(L"clipwork.dat");
  std::vector<double> latencies;
  for (int i = 0; i < 50; ++i) {
    const long long size = FileSize(work);
    CopyText("checked-" + std::to_string(i));
    const double copied = Now();
    while (FileSize(work) == size && Now() - copied < 2.0) {
    }
    latencies.push_back((Now() - copied) * 1000.0);
    Sleep(30);
  }
  app.Goodbye();
  DWORD code = 0;
  app.WaitExit(&code);
  std::sort(latencies.begin(), latencies.end());
  return latencies[latencies.size() / 2];
}

int main() {
  const int kCopies = 200;
  const Series series[] = {
      {0, "b2b", Company::kNone, "back to back"},
      {1, "s01", Company::kNone, "1 ms"},
      {5, "s05", Company::kNone, "5 ms"},
      {20, "s20", Company::kNone, "20 ms"},
      {20, "rdr", Company::kReader, "20 ms, reader"},
      // The copier here waits 10 ms between tries for the clipboard: at
      // 20 ms its try meets the reader's 30 ms release, at 25 ms it does not.
      {25, "r25", Company::kReader, "25 ms, reader"},
      {20, "bad", Company::kBadViewers, "20 ms, bad viewers"},
  };

  TempDir dir;
  WriteIni(dir.Path());  // a configured folder: no first-run welcome
  Kopiwell app(dir.Path());
  if (!app.Start() || !app.WaitReady()) {
    std::printf("kopiwell.exe did not start\n");
    return 1;
  }
  HWND list = FindHistoryList(app.Pid());

  // A viewer of this process is told of every change about when the
  // program is: the sequence numbers it finds show how many different
  // contents the notifications could still see (a copy replaced before
  // any notification arrived is lost to every viewer).
  ClipboardViewer watcher;

  std::printf("Capture of %d copies from another program, by spacing between copies\n", kCopies);
  std::printf("%-20s %8s %10s %14s %10s %12s\n", "spacing", "copies", "rows added",
              "contents seen", "answering", "copies/s");
  for (const Series& s : series) {
    // The reader opens the clipboard at every change and holds it 30 ms;
    // of the bad viewers, one passes nothing on, the other hangs.
    std::vector<std::unique_ptr<ClipboardViewer>> company;
    if (s.company == Company::kReader)
      company.push_back(std::make_unique<ClipboardViewer>(ClipboardViewer::kHoldsOpen));
    if (s.company == Company::kBadViewers) {
      company.push_back(std::make_unique<ClipboardViewer>(ClipboardViewer::kHangs));
      company.push_back(std::make_unique<ClipboardViewer>(ClipboardViewer::kPassesNothing));
    }
    const int before = RowCount(list);
    const int seenBefore = watcher.DistinctContents();
    const double start = Now();
    for (int i = 0; i < kCopies; ++i) {
      CopyText(s.prefix + "-" + std::to_string(i));
      if (s.spacingMs > 0) Sleep(static_cast<DWORD>(s.spacingMs));  // pacing, not waiting
    }
    const double elapsed = Now() - start;
    const int added = WaitForRows(list, before, kCopies);
    const bool answering = static_cast<bool>(app.Settle());
    std::printf("%-20s %8d %10d %14d %10s %12.0f\n", s.name, kCopies, added,
                s.company == Company::kNone ? watcher.DistinctContents() - seenBefore : -1,
                answering ? "yes" : "NO", kCopies / elapsed);
  }

  // Latency: copies well apart, from the end of CloseClipboard in this
  // process to the record's bytes in the working file. Code-page texts,
  // then Unicode texts the code page lacks characters of.
  const std::wstring work = dir.File(L"clipwork.dat");
  std::vector<double> latencies, unicodeLatencies;
  auto latency = [&](const std::function<void()>& copy) {
    const long long size = FileSize(work);
    copy();
    const double copied = Now();
    while (FileSize(work) == size && Now() - copied < 2.0) {
    }
    const double elapsed = (Now() - copied) * 1000.0;
    Sleep(30);
    return elapsed;
  };
  for (int i = 0; i < 50; ++i)
    latencies.push_back(latency([&] { CopyText("latency-" + std::to_string(i)); }));
  for (int i = 0; i < 50; ++i) {
    unicodeLatencies.push_back(latency(
        [&] { CopyUnicode(L"caf\u00e9 \U0001F600 latency-" + std::to_wstring(i), 0x0409); }));
  }
  std::sort(latencies.begin(), latencies.end());
  std::sort(unicodeLatencies.begin(), unicodeLatencies.end());

  watcher.Leave();
  app.Goodbye();
  DWORD code = 0;
  app.WaitExit(&code);

  const std::vector<std::string> texts = Records(ReadFileBytes(dir.File(L"clip.dat")));
  std::printf("\nAfter Goodbye, in clip.dat (%zu records):\n", texts.size());
  std::printf("%-20s %10s %10s %10s %12s %12s\n", "spacing", "recorded", "distinct", "lost",
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
    std::printf("%-20s %10d %10d %10d %12d %12s\n", s.name, recorded, distinct, kCopies - distinct, recorded - distinct,
                last == 1 ? "yes" : (std::to_string(last) + " times").c_str());
  }
  constexpr int kStarts = 20;
  std::printf("\nA copy right after a start: recorded in %d of %d starts\n",
              CopiesRightAfterStart(kStarts), kStarts);
  std::printf("\nCloseClipboard to record in the working file, 50 copies of each 30 ms apart:\n");
  std::printf("  code page: median %.2f ms, 90th percentile %.2f ms, max %.2f ms\n",
              latencies[latencies.size() / 2], latencies[latencies.size() * 9 / 10],
              latencies.back());
  std::printf("  Unicode:   median %.2f ms, 90th percentile %.2f ms, max %.2f ms  (%.2fx)\n",
              unicodeLatencies[unicodeLatencies.size() / 2],
              unicodeLatencies[unicodeLatencies.size() * 9 / 10], unicodeLatencies.back(),
              unicodeLatencies[unicodeLatencies.size() / 2] / latencies[latencies.size() / 2]);
  // Asking which program placed each copy, against a program with an
  // empty list of programs never recorded, which asks nothing.
  const double checked = MedianLatency({});
  const double unchecked = MedianLatency({{"ignore", "\"\""}});
  std::printf("\nCloseClipboard to record, asking which program copied: median %.2f ms;\n"
              "  with the list of programs never recorded empty: %.2f ms  (%.2fx)\n",
              checked, unchecked, checked / unchecked);
  return 0;
}
