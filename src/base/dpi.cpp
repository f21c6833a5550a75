#include "base/dpi.h"

#include "base/report.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
// Its flags are DIALOG_DPI_CHANGE_BEHAVIORS; 2 leaves the dialog's size.
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
constexpr int kDisableResize = 2;
// shcore's GetDpiForMonitor; its first type is MONITOR_DPI_TYPE, 0 the
// effective density.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <typename Fn>
Fn Lookup(const wchar_t* module, const char* name, bool load) {
  HMODULE m = GetModuleHandleW(module);
  if (!m && load) m = LoadLibraryW(module);
  // The cast through void is how a looked-up address becomes its type.
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

GetDpiForWindowFn ForWindow() {
  static const auto fn = Lookup<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow", false);
  return fn;
}

GetDpiForMonitorFn ForMonitor() {
  static const auto fn = Lookup<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor", true);
  return fn;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  return GuardMemory([&]() -> BOOL {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& m = info.rcMonitor;
    const RECT& w = info.rcWork;
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
        {{m.left, m.top, m.right, m.bottom}, {w.left, w.top, w.right, w.bottom},
         MonitorDpi(monitor)});
    return TRUE;
  }, FALSE);
}

}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int MonitorDpi(HMONITOR monitor) {
  UINT x = 0, y = 0;
  if (monitor && ForMonitor() && SUCCEEDED(ForMonitor()(monitor, 0, &x, &y)) && y > 0)
    return static_cast<int>(y);
  return SystemDpi();
}

int WindowDpi(HWND hwnd) {
  if (ForWindow()) {
    const UINT dpi = ForWindow()(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return MonitorDpi(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

int SmallIconPixels(int dpi) {
  static const auto fn =
      Lookup<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi", false);
  const int size = fn ? fn(SM_CXSMICON, static_cast<UINT>(dpi)) : GetSystemMetrics(SM_CXSMICON);
  return size > 0 ? size : ForDpi(16, dpi);
}

std::vector<MonitorArea> Monitors() {
  std::vector<MonitorArea> list;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
  return list;
}

void LeaveDialogSizeToUs(HWND dialog) {
  static const auto fn =
      Lookup<SetDialogDpiChangeBehaviorFn>(L"user32.dll", "SetDialogDpiChangeBehavior", false);
  if (fn) fn(dialog, kDisableResize, kDisableResize);
}
