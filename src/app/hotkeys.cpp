#include "app/hotkeys.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

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
// The hotkey words the last registration found held by another program.
std::vector<std::uint16_t> g_taken;

// The keyboard layout's name of the key, "" for none.
std::string SystemKeyName(unsigned key) {
  wchar_t text[64] = {};
  const LONG scan = static_cast<LONG>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  return GetKeyNameTextW(scan, text, 64) > 0 ? NarrowUtf8(text) : std::string();
}

// A combination that another program holds already is noted as taken.
void Register(int id, std::uint16_t word) {
  if (!RegisterHotKey(MainWindow(), id, HotkeyModifiers(word), HotkeyKey(word)))
    g_taken.push_back(word);
}

}  // namespace

void RegisterHotKeys() {
  UnregisterHotKeys();
  g_taken.clear();
  Register(kHotkeyShowList, g_set.listHotkey);
  Register(kHotkeyPause, g_set.pauseHotkey);
  // A phrase hotkey without a key is none, not a default one.
  if (HotkeyKey(g_set.phraseHotkey) != 0) Register(kHotkeyPhrases, g_set.phraseHotkey);
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

void TellTakenHotKeys() {
  // Taken out first: a registration while one of the boxes is open
  // starts a list of its own.
  std::vector<std::uint16_t> taken;
  taken.swap(g_taken);
  for (std::uint16_t word : taken) Tell(kMsgHotkeyTaken, {HotkeyName(word, SystemKeyName)});
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
