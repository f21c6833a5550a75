// What the user does with the tray icon: clicks, the tray menu, and the
// commands behind its items.
#include <windows.h>

#include "app/errorbox.h"
#include "app/help.h"
#include "app/history_actions.h"
#include "app/hotkeys.h"
#include "app/mainwnd.h"
#include "app/tray.h"
#include "base/scoped_win.h"
#include "base/skip_next.h"
#include "base/win_text.h"
#include "listwin/commands.h"
#include "listwin/context_menu.h"
#include "listwin/list_switch.h"
#include "listwin/listwin.h"
#include "listwin/show_list.h"
#include "output/messages.h"
#include "output/viewer.h"
#include "settings/info_dialogs.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "settings/settings_dialog.h"
#include "store/history.h"

bool g_trayIdle = true;

namespace {

struct MenuItem {
  int id;  // 0: a separator
  const char* text;
};
constexpr MenuItem kTrayMenu[] = {
    {kCmdPhrases, "定型文"},         {0, nullptr},
    {kCmdSettings, "設定..."},       {kCmdPause, "一時停止"},
    {kMenuSkipNextCopy, "次のコピーを記録しない"},                 {0, nullptr},
    {kCmdClearAll, "全履歴削除"},    {kCmdRestore, "古いデータ復元"}, {0, nullptr},
    {kCmdHelp, "トピックの検索"},    {kCmdAbout, "バージョン情報..."}, {0, nullptr},
    {kCmdGoodbye, "さよなら"},
};

// While a command's dialog or question is open, a second right click
// shows the menu with every command greyed.
class TrayBusy {
 public:
  TrayBusy() { g_trayIdle = false; }
  ~TrayBusy() { g_trayIdle = true; }
  TrayBusy(const TrayBusy&) = delete;
  TrayBusy& operator=(const TrayBusy&) = delete;
};

bool Confirm(HWND main, const char* question, const char* caption) {
  return MessageBoxUtf8(main, question, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
         IDYES;
}

void RunSettings(HWND main) {
  TrayBusy busy;
  // The dialog lets the user press any key combination, the present
  // hotkeys included, so they are released while it is open.
  UnregisterHotKeys();
  Settings chosen = g_set;
  const StartupLink link = ThisProgramsLink();
  LinkOutcome linkOutcome = LinkOutcome::kDone;
  const bool changed = ShowSettingsDialog(main, &chosen, link, &linkOutcome) == 1;
  if (changed) {
    // A changed order of the data turns the history round at once.
    if (TakeDialogChoices(chosen)) ReverseHistoryOrder();
    WriteSettings();
    ClearRepeatRegister();
    if (ListWindowHandle()) SetListTitle(ListWindowHandle(), g_set.key);
  }
  RegisterHotKeys();
  // Told after the other choices have taken effect.
  if (changed) TellTakenHotKeys();
  if (linkOutcome == LinkOutcome::kNotMade) Tell(kMsgSignInLinkNotMade);
  if (linkOutcome == LinkOutcome::kNotRemoved) Tell(kMsgSignInLinkNotRemoved);
}

void DeleteAllHistory(HWND main) {
  TrayBusy busy;
  if (Confirm(main, "データの復元はできません！！\n全履歴を削除してよろしいですか",
              "コピウェル - 全履歴削除"))
    ClearClip();
}

void RestoreOldData(HWND main) {
  TrayBusy busy;
  if (Confirm(main,
              "バックアップファイルからデータを復元します。\n"
              "現在の履歴は削除されます。よろしいですか？",
              "コピウェル - 古いデータ復元"))
    RestoreClip();
}

// The list is called up for the window the user was working in, which
// the click or the menu has taken the front from.
void ShowForWorkWindow(void (*show)()) {
  if (HWND work = WorkWindow()) SetForegroundWindow(work);
  show();
}

}  // namespace

void OnTrayNotify(HWND main, LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
      ShowForWorkWindow(ShowList);
      break;
    case WM_RBUTTONDOWN:
      if (ListShown()) DismissList();
      SetForegroundWindow(main);
      PostMessageW(main, kShowTrayMenu, 0, 0);
      break;
    default: {
      // The mouse is over the icon: the window in front is still the one
      // the user was working in, unless it is our own (the menu's owner
      // after a right click).
      HWND front = GetForegroundWindow();
      if (front != WorkWindow() && front != main && front != ListWindowHandle() &&
          front != g_hViewer)
        RememberWorkWindow(front);
      break;
    }
  }
}

HMENU BuildTrayMenu(bool idle, bool paused) {
  HMENU menu = CreatePopupMenu();
  for (const MenuItem& item : kTrayMenu) {
    if (item.id == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (!idle) flags |= MF_GRAYED | MF_DISABLED;
    if (item.id == kCmdPause && paused) flags |= MF_CHECKED;
    if (item.id == kMenuSkipNextCopy && SkipNextArmed(GetTickCount64())) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(item.id), Widen(item.text).c_str());
  }
  return menu;
}

void ShowTrayMenu(HWND main) {
  const ScopedMenu menu(BuildTrayMenu(g_trayIdle, g_set.sus != 0));
  POINT at;
  GetCursorPos(&at);
  // Our window must be in front while the menu is tracked, or the menu
  // would not close when the user clicks elsewhere.
  SetForegroundWindow(main);
  TrackPopupMenu(menu.Get(), 0, at.x, at.y, 0, main, nullptr);
  PostMessageW(main, WM_NULL, 0, 0);
}

bool OnTrayCommand(HWND main, int id) {
  switch (id) {
    case kCmdSettings:
      RunSettings(main);
      return true;
    case kCmdAbout: {
      TrayBusy busy;
      ShowAboutDialog(main);
      return true;
    }
    case kCmdPause: {
      TrayBusy busy;
      TogglePause();
      return true;
    }
    case kCmdGoodbye:
      DestroyWindow(main);
      return true;
    case kCmdClearAll:
      DeleteAllHistory(main);
      return true;
    case kCmdRestore:
      RestoreOldData(main);
      return true;
    case kCmdHelp:
      ShowHelpTopics(main);
      return true;
    case kMenuSkipNextCopy:
      ToggleSkipNext(main);
      return true;
    case kCmdPhrases:
      ShowForWorkWindow(ShowPhraseList);
      return true;
  }
  return false;
}
