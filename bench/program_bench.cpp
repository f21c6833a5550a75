// The whole program with large histories, seen from outside: start to
// ready, Goodbye to exit, and peak memory per row, against floor
// processes on the same files (kw_bench_floor: reading the data file into
// offset and label arrays behind an owner-data list, and saving the same
// bytes safely); then a 50 MB text captured, saved and loaded again.
// Prints figures; asserts nothing. Run under Wine by scripts/bench.sh.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "clock.h"
#include "driver.h"
#include "history_files.h"

using namespace e2e;

namespace {

double PeakMegabytes(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  CloseHandle(process);
  return static_cast<double>(counters.PeakWorkingSetSize) / 1e6;
}

struct Run {
  double ready, exit, peakMb;
  bool ok;
};

// A floor process in the folder: "load" until it waits for input (then it
// is closed), or "save" until it ends. Returns the seconds taken.
double RunFloor(const TempDir& dir, const wchar_t* mode) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring exe = self;
  exe = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"kw_bench_floor.exe";
  PROCESS_INFORMATION info;
  const double start = Now();
  if (!Launch(exe, mode, dir.Path(), &info)) return -1;
  double took;
  if (std::wcscmp(mode, L"load") == 0) {
    WaitForInputIdle(info.hProcess, 600000);
    took = Now() - start;
    PostThreadMessageW(info.dwThreadId, WM_CLOSE, 0, 0);
  } else {
    WaitForSingleObject(info.hProcess, 600000);
    took = Now() - start;
  }
  WaitForSingleObject(info.hProcess, 600000);
  CloseHandle(info.hProcess);
  return took;
}

Run StartAndEnd(const TempDir& dir, int rows) {
  Run run = {0, 0, 0, false};
  Kopiwell app(dir.Path());
  double start = Now();
  if (!app.Start() || !app.WaitReady(600000)) return run;
  run.ready = Now() - start;
  HWND list = FindHistoryList(app.Pid());
  run.peakMb = PeakMegabytes(app.Pid());
  const bool loaded = RowCount(list) == rows;
  start = Now();
  DWORD code = 0;
  run.ok = loaded && app.Goodbye() && app.WaitExit(&code, 600000) && code == 1;
  run.exit = Now() - start;
  return run;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// What the fixed phrases add to a start: an empty history started with
// phrase.dat missing (the first start makes it), then with it empty, in
// turn five times each, against the spread of the starts themselves; and
// with 100,000 phrases for scale.
void PrintPhraseStarts() {
  TempDir dir;
  WriteIni(dir.Path());
  std::vector<double> missing, empty, many;
  for (int rep = 0; rep < 5; ++rep) {
    DeleteFileW(dir.File(L"phrase.dat").c_str());
    missing.push_back(StartAndEnd(dir, 0).ready);
    empty.push_back(StartAndEnd(dir, 0).ready);
  }
  WriteFileBytes(dir.File(L"phrase.dat"), MakeHistory(100000));
  for (int rep = 0; rep < 3; ++rep) many.push_back(StartAndEnd(dir, 0).ready);
  auto spread = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.back() - v.front();
  };
  std::printf("start, median of 5: phrase.dat missing %.3fs (spread %.3fs), empty %.3fs "
              "(spread %.3fs), difference %+.3fs; with 100,000 phrases %.3fs\n\n",
              Median(missing), spread(missing), Median(empty), spread(empty),
              Median(empty) - Median(missing), Median(many));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes = {10000, 100000, 1000000};
  if (argc > 1) sizes = {std::atoi(argv[1])};

  TempDir empty;
  WriteIni(empty.Path());
  const Run baseline = StartAndEnd(empty, 0);
  std::printf("empty history: ready %.3fs, exit %.3fs, peak %.1f MB\n", baseline.ready,
              baseline.exit, baseline.peakMb);
  PrintPhraseStarts();
  std::printf("%9s | %9s %9s %6s | %9s %9s %6s | %8s %10s %6s\n", "entries", "ready", "floor",
              "ratio", "exit", "floor", "ratio", "peak MB", "bytes/row", "same");
  for (int n : sizes) {
    TempDir dir;
    WriteIni(dir.Path());
    const std::string bytes = MakeHistory(n);
    WriteFileBytes(dir.File(L"clip.dat"), bytes);
    const double loadFloor = RunFloor(dir, L"load");
    const double saveFloor = RunFloor(dir, L"save");
    const Run run = StartAndEnd(dir, n);
    const bool same = run.ok && ReadFileBytes(dir.File(L"clip.dat")) == bytes;
    std::printf("%9d | %8.3fs %8.3fs %5.2fx | %8.3fs %8.3fs %5.2fx | %8.1f %10.0f %6s\n", n,
                run.ready, loadFloor, run.ready / loadFloor, run.exit, saveFloor,
                run.exit / saveFloor, run.peakMb, (run.peakMb - baseline.peakMb) * 1e6 / n,
                same ? "yes" : "NO");
    std::fflush(stdout);
  }

  // One text of 50 MB: captured, kept, saved, loaded again.
  TempDir dir;
  WriteIni(dir.Path());
  std::string big(50u << 20, 'x');
  for (size_t i = 0; i < big.size(); i += 4096) big[i] = static_cast<char>('a' + (i / 4096) % 26);
  bool captured = false, saved = false, reloaded = false;
  {
    Kopiwell app(dir.Path());
    if (app.Start() && app.WaitReady()) {
      HWND list = FindHistoryList(app.Pid());
      const double start = Now();
      captured = CopyText(big) && WaitRows(list, 1, 120000);
      std::printf("\n50 MB text: captured in %.2fs\n", Now() - start);
      DWORD code = 0;
      saved = app.Goodbye() && app.WaitExit(&code, 120000) &&
              ReadFileBytes(dir.File(L"clip.dat")) == DataFile({big});
    }
  }
  {
    Kopiwell app(dir.Path());
    if (app.Start() && app.WaitReady()) {
      reloaded = RowCount(FindHistoryList(app.Pid())) == 1;
      DWORD code = 0;
      reloaded = app.Goodbye() && app.WaitExit(&code, 120000) && reloaded &&
                 ReadFileBytes(dir.File(L"clip.dat")) == DataFile({big});
    }
  }
  std::printf("50 MB text: captured %s, saved intact %s, loaded and saved again intact %s\n",
              captured ? "yes" : "NO", saved ? "yes" : "NO", reloaded ? "yes" : "NO");
  return 0;
}
