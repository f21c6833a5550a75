#include "app/hotkeys.h"

#include <windows.h>

#include "app/mainwnd.h"
#include "app/tray.h"
#include "output/paste.h"
#include "settings/settings.h"

namespace {

bool g_registered = false;

void Register(int id, std::uint16_t word) {
  RegisterHotKey(g_hMain, id, HotkeyModifiers(word), HotkeyKey(word));
}

}  // namespace

void RegisterHotKeys() {
  UnregisterHotKeys();
  Register(kHotkeyShowList, g_set.listHotkey);
  Register(kHotkeyPause, g_set.pauseHotkey);
  g_registered = true;
}

void UnregisterHotKeys() {
  if (g_registered) {
    UnregisterHotKey(g_hMain, kHotkeyShowList);
    UnregisterHotKey(g_hMain, kHotkeyPause);
  }
  g_registered = false;
}

void TogglePause() {
  if (g_set.sus) {
    g_set.sus = 0;
    TraySetNormal();
  } else {
    g_set.sus = 1;
    TraySetPaused();
  }
}

void OnHotKey(int id) {
  if (id == kHotkeyShowList) ShowList();
  if (id == kHotkeyPause) TogglePause();
}
