// Loading and saving large histories in the store, against the floors the
// platform sets on the same data in the same run: inserting the same rows
// into a bare list view with redrawing suspended (for the load), and the
// system's copy of the data file (for the save). Prints figures and
// ratios; asserts nothing. Run under Wine by scripts/bench.sh.
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
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/mainwnd.h"
#include "clock.h"
#include "history_files.h"
#include "listwin/listwin.h"
#include "store/store.h"

namespace {

std::string ReadBytes(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Child: the floors. Prints "<list insert> <file copy>".
void MeasureFloors(const std::string& bytes) {
  std::vector<std::string> labels;
  std::vector<LPARAM> offsets;
  size_t at = 4;
  while (at + 4 <= bytes.size()) {
    std::uint32_t n = 0;
    std::memcpy(&n, bytes.data() + at, 4);
    labels.push_back(bytes.substr(at + 4, n < 100 ? n : 100));
    offsets.push_back(static_cast<LPARAM>(at));
    at += 4 + n;
  }
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr,
                              nullptr, g_hInst, nullptr);
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH;
  column.cx = 468;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  double start = Now();
  SendMessageW(list, LVM_SETITEMCOUNT, labels.size(), 0);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (size_t i = 0; i < labels.size(); ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = &labels[i][0];
    item.lParam = offsets[i];
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  const double insert = Now() - start;
  start = Now();
  CopyFileA("clip.dat", "copy.dat", FALSE);
  const double copy = Now() - start;
  DeleteFileA("copy.dat");
  std::printf("%.4f %.4f\n", insert, copy);
}

// Child: the store. Prints "<open> <close> <reverse> <same 0/1>".
void MeasureStore(const std::string& bytes, int n) {
  CreateListWindow();
  double start = Now();
  HANDLE store = tdb_open(kBaseName, g_hListView);
  const double open = Now() - start;
  const int rows = static_cast<int>(SendMessageW(g_hListView, LVM_GETITEMCOUNT, 0, 0));
  start = Now();
  ReverseHistoryOrder(g_hListView);
  const double reverse = Now() - start;
  ReverseHistoryOrder(g_hListView);
  start = Now();
  const int closed = tdb_close(store, kBaseName, g_hListView);
  const double close = Now() - start;
  const bool same = closed == 0 && rows == n && ReadBytes("clip.dat") == bytes;
  std::printf("%.4f %.4f %.4f %d\n", open, close, reverse, same ? 1 : 0);
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
  g_hInst = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  if (argc == 3) {  // a child: one measurement in a directory of its own
    const int n = std::atoi(argv[2]);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "kwbench-" + argv[1] + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    SetCurrentDirectoryA(dir.c_str());
    const std::string bytes = MakeHistory(n);
    std::ofstream("clip.dat", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (std::strcmp(argv[1], "floor") == 0) MeasureFloors(bytes);
    else MeasureStore(bytes, n);
    std::fflush(stdout);
    DeleteFileA("clip.dat");
    DeleteFileA("clipwork.dat");
    SetCurrentDirectoryA(temp);
    RemoveDirectoryA(dir.c_str());
    ExitProcess(0);  // the large lists are not taken apart one row at a time
  }

  std::vector<int> sizes = {10000, 100000, 1000000};
  if (argc == 2) sizes = {std::atoi(argv[1])};
  std::printf("best of two runs, each in a fresh process\n");
  std::printf("%9s %8s | %9s %10s %6s | %9s %10s %6s | %8s %5s\n", "entries", "MB", "tdb_open",
              "list floor", "ratio", "tdb_close", "copy floor", "ratio", "reverse", "same");
  for (int n : sizes) {
    double insert = 1e9, copy = 1e9, open = 1e9, close = 1e9, reverse = 1e9;
    bool same = true;
    for (int rep = 0; rep < 2; ++rep) {
      const std::vector<double> floors = RunChild("floor", n);
      const std::vector<double> store = RunChild("store", n);
      if (floors.size() < 2 || store.size() < 4) {
        same = false;
        continue;
      }
      insert = std::min(insert, floors[0]);
      copy = std::min(copy, floors[1]);
      open = std::min(open, store[0]);
      close = std::min(close, store[1]);
      reverse = std::min(reverse, store[2]);
      same = same && store[3] == 1;
    }
    std::printf("%9d %8.1f | %8.3fs %9.3fs %5.2fx | %8.3fs %9.3fs %5.2fx | %7.3fs %5s\n", n,
                static_cast<double>(MakeHistory(n).size()) / 1e6, open, insert, open / insert,
                close, copy, close / copy, reverse, same ? "yes" : "NO");
    std::fflush(stdout);
  }
  return 0;
}
