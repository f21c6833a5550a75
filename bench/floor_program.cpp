// The floors the whole program is measured against: a process that does
// the least the program must do with the same files.
//
//   kw_bench_floor.exe load   reads clip.dat, builds the rows' offset and
//                             label arrays, sets an owner-data list view's
//                             count and waits for input (until WM_CLOSE)
//   kw_bench_floor.exe save   writes clip.dat's bytes to a new file, flushes
//                             it and puts it in place of clip.dat, then ends
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "history_files.h"

namespace {

int Load() {
  const std::string bytes = ReadFileBytes(L"clip.dat");
  std::vector<std::int32_t> offsets;
  std::vector<std::uint32_t> labelStarts;
  std::string labels;
  ParseRows(bytes, &offsets, &labels, &labelStarts);
  HWND window = CreateWindowExW(0, L"STATIC", L"floor", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                              300, 200, window, nullptr, nullptr, nullptr);
  SendMessageW(list, LVM_SETITEMCOUNT, offsets.size(), 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_CLOSE) break;
    DispatchMessageW(&msg);
  }
  return static_cast<int>(offsets.size() > 0);
}

int Save() {
  const std::string bytes = ReadFileBytes(L"clip.dat");
  HANDLE file = CreateFileA("clip.dat.floor", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  size_t at = 0;
  DWORD done = 0;
  while (at < bytes.size() &&
         WriteFile(file, bytes.data() + at,
                   static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1 << 20)), &done, nullptr))
    at += done;
  FlushFileBuffers(file);
  CloseHandle(file);
  MoveFileExA("clip.dat.floor", "clip.dat", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return std::strcmp(command, "save") == 0 ? Save() : Load();
}
