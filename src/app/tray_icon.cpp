// The notification-area icon. It uses the first version of the
// notification record, which every Windows version accepts, in its
// wide-character form so that the tip reads correctly on any system.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "app/mainwnd.h"
#include "app/tray.h"
#include "base/dpi.h"
#include "base/skip_next.h"
#include "base/win_text.h"
#include "resource.h"
#include "settings/settings.h"

namespace {

constexpr char kTip[] = "コピウェル";
constexpr char kArmedTip[] = "コピウェル - 次のコピーを記録しません";

// The tip shown now, given again when the shell makes the icon anew.
std::wstring g_tip = Widen(kTip);
bool g_tellingLeftOut = false;

int g_iconPixels = 0;
// From TrayAdd to TrayDelete: the program has an icon in the tray.
bool g_added = false;

NOTIFYICONDATAW Record(UINT flags) {
  NOTIFYICONDATAW data = {};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = MainWindow();
  data.uID = kTrayIconId;
  data.uFlags = flags;
  return data;
}

// The shell keeps its own copy of the icon, so ours is freed right after.
// The icon files hold an image for each common small-icon size, so the
// one for the main window's density is taken as drawn, not stretched.
void Notify(DWORD action, UINT flags, int icon) {
  NOTIFYICONDATAW data = Record(flags);
  if (flags & NIF_ICON) {
    g_iconPixels = SmallIconPixels(WindowDpi(MainWindow()));
    data.hIcon = static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(icon),
                                               IMAGE_ICON, g_iconPixels, g_iconPixels,
                                               LR_DEFAULTCOLOR));
  }
  if (flags & NIF_MESSAGE) data.uCallbackMessage = kTrayNotify;
  if (flags & NIF_TIP) wcsncpy(data.szTip, g_tip.c_str(), sizeof data.szTip / sizeof data.szTip[0] - 1);
  Shell_NotifyIconW(action, &data);
  if (data.hIcon) DestroyIcon(data.hIcon);
}

// The picture for the state capture is in.
int StateIcon() { return g_set.sus ? IDI_PAUSED : IDI_KOPIWELL; }

}  // namespace

void TrayAdd() {
  Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, StateIcon());
  g_added = true;
}

void TraySetPaused() {
  Notify(NIM_MODIFY, NIF_ICON, IDI_PAUSED);
}

void TraySetNormal() {
  Notify(NIM_MODIFY, NIF_ICON, IDI_KOPIWELL);
}

void TrayDelete() {
  if (g_added) Notify(NIM_DELETE, 0, 0);
  g_added = false;
}

void TrayRefreshTip() {
  if (g_tellingLeftOut) return;
  g_tip = Widen(SkipNextArmed(GetTickCount64()) ? kArmedTip : kTip);
  Notify(NIM_MODIFY, NIF_TIP, 0);
}

void TrayTellLeftOut(const std::wstring& reason) {
  g_tip = Widen("記録しませんでした：") + reason;
  g_tellingLeftOut = true;
  Notify(NIM_MODIFY, NIF_TIP, 0);
  SetTimer(MainWindow(), kTipTimer, kLeftOutTipMs, nullptr);
}

void OnTrayTimer(HWND main, UINT_PTR timer) {
  KillTimer(main, timer);
  if (timer == kSkipNextTimer) DisarmSkipNext();
  if (timer == kTipTimer) g_tellingLeftOut = false;
  TrayRefreshTip();
}

void ToggleSkipNext(HWND main) {
  const ULONGLONG now = GetTickCount64();
  if (SkipNextArmed(now)) {
    DisarmSkipNext();
    KillTimer(main, kSkipNextTimer);
  } else {
    ArmSkipNext(now);
    SetTimer(main, kSkipNextTimer, static_cast<UINT>(kSkipNextLastsMs), nullptr);
  }
  TrayRefreshTip();
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

// Without this the icon would vanish for good when the shell restarts,
// and with it the only way to reach the program. The new taskbar may
// also stand on a screen of another density. An icon not added yet, or
// deleted already, is not made by the shell's news.
void OnTaskbarCreated() {
  if (g_added) TrayAdd();
}

void OnTrayDpiChanged() {
  Notify(NIM_MODIFY, NIF_ICON, StateIcon());
}

int TrayIconPixels() { return g_iconPixels; }
