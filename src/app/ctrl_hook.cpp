#include "app/ctrl_hook.h"

#include "app/ctrl_twice.h"
#include "base/report.h"

namespace {

HANDLE g_thread = nullptr;
DWORD g_threadId = 0;
HWND g_notify = nullptr;
// Used by the hook's thread alone.
CtrlTwice g_recogniser;

LRESULT HookWork(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool ctrl = key->vkCode == VK_CONTROL || key->vkCode == VK_LCONTROL ||
                      key->vkCode == VK_RCONTROL;
    const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
    if (g_recogniser.Feed(ctrl ? KeyKind::kCtrl : KeyKind::kOther, down, key->time))
      PostMessageW(g_notify, kCtrlTwice, 0, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
  return GuardMemory([&] { return HookWork(code, wParam, lParam); });
}

// The hook is called on the thread that installed it, through that
// thread's message loop.
DWORD WINAPI HookThread(void* ready) {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
  g_recogniser = CtrlTwice();
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, HookProc, GetModuleHandleW(nullptr), 0);
  SetEvent(static_cast<HANDLE>(ready));
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
  }
  if (hook) UnhookWindowsHookEx(hook);
  return 0;
}

}  // namespace

void SetCtrlHook(bool on, HWND notify) {
  if (on && !g_thread) {
    g_notify = notify;  // read by the hook's thread, which starts after this
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ready) return;
    g_thread = CreateThread(nullptr, 0, HookThread, ready, 0, &g_threadId);
    if (g_thread) WaitForSingleObject(ready, 5000);
    CloseHandle(ready);
  } else if (!on && g_thread) {
    PostThreadMessageW(g_threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_thread, 5000);
    CloseHandle(g_thread);
    g_thread = nullptr;
    g_threadId = 0;
  }
}
