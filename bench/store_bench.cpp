// Loading and saving large histories in the store, against the floors the
// platform sets on the same data in the same run: reading the data file
// into offset and label arrays behind an owner-data list view (for the
// load), and the system's copy of the data file (for the save); then the
// reversal, clearing and restoring. Prints figures and ratios; asserts
// nothing. Run under Wine by scripts/bench.sh.
//
// Under Wine a process that has built large lists gets slower at building
// more, so each measurement runs in a fresh process of this program: the
// parent starts the floor and the store measurements alternately, twice
// each, and reports the better of the two.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/program.h"
#include "clock.h"
#include "history_files.h"
#include "listwin/listwin.h"
#include "store/history.h"
#include "store/store.h"

namespace {

// Child: the floors. Prints "<load> <file copy>": reading the data file
// into the rows' offset and label arrays behind an owner-data list, and
// the system's copy of the file.
void MeasureFloors() {
  double start = Now();
  const std::string bytes = ReadFileBytes(L"clip.dat");
  std::vector<std::int32_t> offsets;
  std::string labels;
  ParseRows(bytes, &offsets, &labels);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                              300, 200, nullptr, nullptr, ProgramInstance(), nullptr);
  SendMessageW(list, LVM_SETITEMCOUNT, offsets.size(), 0);
  const double load = Now() - start;
  start = Now();
  CopyFileA("clip.dat", "copy.dat", FALSE);
  const double copy = Now() - start;
  DeleteFileA("copy.dat");
  std::printf("%.4f %.4f\n", load, copy);
}

// Child: the store. Prints "<open> <close> <reverse> <clear> <restore>
// <same 0/1>".
void MeasureStore(const std::string& bytes, int n) {
  CreateListWindow();
  double start = Now();
  Store& history = History();
  tdb_open(history);
  const double open = Now() - start;
  const int rows = static_cast<int>(SendMessageW(TheListWindow().view, LVM_GETITEMCOUNT, 0, 0));
  start = Now();
  ReverseHistoryOrder();
  const double reverse = Now() - start;
  ReverseHistoryOrder();
  start = Now();
  const int closed = tdb_close(history);
  const double close = Now() - start;
  const bool same = closed == 0 && rows == n && ReadFileBytes(L"clip.dat") == bytes;
  // Clearing and restoring the whole history, from a backup of it.
  CopyFileA("clip.dat", "clipdat.bak", FALSE);
  tdb_open(history);
  start = Now();
  tdb_clear(history);
  const double clear = Now() - start;
  start = Now();
  tdb_restore(history);
  const double restore = Now() - start;
  const bool restored = SendMessageW(TheListWindow().view, LVM_GETITEMCOUNT, 0, 0) == n;
  history.Abandon();
  DeleteFileA("clipdat.bak");
  std::printf("%.4f %.4f %.4f %.4f %.4f %d\n", open, close, reverse, clear, restore,
              same && restored ? 1 : 0);
}

// Parent: runs this program in `mode` for n entries and reads its line.
std::vector<double> RunChild(const char* mode, int n) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" " +
                         std::wstring(mode, mode + std::strlen(mode)) + L" " + std::to_wstring(n);
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &inherit, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info = {};
  std::vector<double> values;
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &info))
    return values;
  CloseHandle(write);
  std::string output;
  char buffer[256];
  DWORD got = 0;
  while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
  WaitForSingleObject(info.hProcess, INFINITE);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  CloseHandle(read);
  const char* p = output.c_str();
  char* end = nullptr;
  for (double v = std::strtod(p, &end); end != p; v = std::strtod(p, &end)) {
    values.push_back(v);
    p = end;
  }
  return values;
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  if (argc == 3) {  // a child: one measurement in a directory of its own
    const int n = std::atoi(argv[2]);
    // "rendered", "unicode": a tenth of the texts hold a character the
    // code page lacks, shown as "?" or also kept in a Unicode copy.
    const bool rendered = std::strcmp(argv[1], "rendered") == 0;
    const bool unicode = std::strcmp(argv[1], "unicode") == 0;
    const std::string bytes = MakeHistory(n, rendered || unicode ? 10 : 0, unicode);
    const std::wstring dir =
        EnterHistoryFolder(FromAnsi(std::string("kwbench-") + argv[1]), bytes);
    if (std::strcmp(argv[1], "floor") == 0) MeasureFloors();
    else MeasureStore(bytes, n);
    std::fflush(stdout);
    LeaveHistoryFolder(dir);
    ExitProcess(0);  // the large lists are not taken apart one row at a time
  }

  if (argc == 2 && std::strcmp(argv[1], "unicode") == 0) {
    // Loading the same 1,000,000 entries with and without Unicode copies
    // in a tenth of them.
    constexpr int kEntries = 1000000;
    double plain = 1e9, unicode = 1e9;
    for (int rep = 0; rep < 3; ++rep) {
      const std::vector<double> p = RunChild("rendered", kEntries);
      const std::vector<double> u = RunChild("unicode", kEntries);
      if (!p.empty()) plain = std::min(plain, p[0]);
      if (!u.empty()) unicode = std::min(unicode, u[0]);
    }
    std::printf("tdb_open of %d entries, best of three: %.3fs; with a Unicode copy in every tenth: "
                "%.3fs (%.2fx)\n", kEntries, plain, unicode, unicode / plain);
    return 0;
  }
  std::vector<int> sizes = {10000, 100000, 1000000};
  if (argc == 2) sizes = {std::atoi(argv[1])};
  std::printf("best of two runs, each in a fresh process\n");
  std::printf("%9s %8s | %9s %10s %6s | %9s %10s %6s | %8s %8s %8s %5s\n", "entries", "MB",
              "tdb_open", "load floor", "ratio", "tdb_close", "copy floor", "ratio", "reverse",
              "clear", "restore", "same");
  for (int n : sizes) {
    double insert = 1e9, copy = 1e9, open = 1e9, close = 1e9, reverse = 1e9, clear = 1e9,
           restore = 1e9;
    bool same = true;
    for (int rep = 0; rep < 2; ++rep) {
      const std::vector<double> floors = RunChild("floor", n);
      const std::vector<double> store = RunChild("store", n);
      if (floors.size() < 2 || store.size() < 6) {
        same = false;
        continue;
      }
      insert = std::min(insert, floors[0]);
      copy = std::min(copy, floors[1]);
      open = std::min(open, store[0]);
      close = std::min(close, store[1]);
      reverse = std::min(reverse, store[2]);
      clear = std::min(clear, store[3]);
      restore = std::min(restore, store[4]);
      same = same && store[5] == 1;
    }
    std::printf(
        "%9d %8.1f | %8.3fs %9.3fs %5.2fx | %8.3fs %9.3fs %5.2fx | %7.3fs %7.3fs %7.3fs %5s\n", n,
        static_cast<double>(MakeHistory(n).size()) / 1e6, open, insert, open / insert, close, copy,
        close / copy, reverse, clear, restore, same ? "yes" : "NO");
    std::fflush(stdout);
  }
  return 0;
}
