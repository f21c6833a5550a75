#include "app/hotkeys.h"

#include <windows.h>

#include <string>

#include "app/ctrl_hook.h"
#include "app/errorbox.h"
#include "app/tray.h"
#include "base/program.h"
#include "base/win_text.h"
#include "listwin/show_list.h"
#include "output/messages.h"
#include "settings/settings.h"

namespace {

bool g_registered = false;

// The keyboard layout's name of the key, "" for none.
std::string SystemKeyName(unsigned key) {
  wchar_t text[64] = {};
  const LONG scan = static_cast<LONG>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  return GetKeyNameTextW(scan, text, 64) > 0 ? NarrowUtf8(text) : std::string();
}

// False when another program holds the combination already.
bool Register(int id, std::uint16_t word, bool report) {
  if (RegisterHotKey(MainWindow(), id, HotkeyModifiers(word), HotkeyKey(word))) return true;
  if (report) Tell(kMsgHotkeyTaken, {HotkeyName(word, SystemKeyName)});
  return false;
}

}  // namespace

void RegisterHotKeys(bool report) {
  UnregisterHotKeys();
  Register(kHotkeyShowList, g_set.listHotkey, report);
  Register(kHotkeyPause, g_set.pauseHotkey, report);
  // A phrase hotkey without a key is none, not a default one.
  if (HotkeyKey(g_set.phraseHotkey) != 0) Register(kHotkeyPhrases, g_set.phraseHotkey, report);
  g_registered = true;
  SetCtrlHook(g_set.dblctrl == kYes, MainWindow());
}

void UnregisterHotKeys() {
  if (g_registered) {
    UnregisterHotKey(MainWindow(), kHotkeyShowList);
    UnregisterHotKey(MainWindow(), kHotkeyPause);
    UnregisterHotKey(MainWindow(), kHotkeyPhrases);
  }
  g_registered = false;
  SetCtrlHook(false, MainWindow());
}

void TogglePause() {
  const bool pause = g_set.sus == 0;
  SetPaused(pause);
  if (pause)
    TraySetPaused();
  else
    TraySetNormal();
}

void OnHotKey(int id) {
  if (id == kHotkeyShowList) ShowList();
  if (id == kHotkeyPause) TogglePause();
  if (id == kHotkeyPhrases) ShowPhraseList();
}
