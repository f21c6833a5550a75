#include "settings/settings.h"

#include <cstdio>
#include <initializer_list>

Settings g_set;
const char* g_keyVersion = "1.9";

namespace {

// The record's four numbers of each kept window, in the order of KeptWindow.
struct PlaceFields {
  int Settings::*x;
  int Settings::*y;
  int Settings::*w;
  int Settings::*h;
  int Settings::*dpi;
};
constexpr PlaceFields kPlaceFields[] = {
    {&Settings::size_lx, &Settings::size_ly, &Settings::size_lw, &Settings::size_lh, &Settings::size_ldpi},
    {&Settings::size_vx, &Settings::size_vy, &Settings::size_vw, &Settings::size_vh, &Settings::size_vdpi},
};

const PlaceFields& FieldsOf(KeptWindow window) {
  return kPlaceFields[window == KeptWindow::kList ? 0 : 1];
}

WindowPlace PlaceIn(const Settings& settings, KeptWindow window) {
  const PlaceFields& f = FieldsOf(window);
  return {settings.*f.x, settings.*f.y, settings.*f.w, settings.*f.h, settings.*f.dpi};
}

void SetPlace(Settings* settings, KeptWindow window, const WindowPlace& place) {
  const PlaceFields& f = FieldsOf(window);
  settings->*f.x = place.x;
  settings->*f.y = place.y;
  settings->*f.w = place.w;
  settings->*f.h = place.h;
  settings->*f.dpi = place.dpi;
}

}  // namespace

WindowPlace KeptPlace(KeptWindow window) { return PlaceIn(g_set, window); }

void KeepPlace(KeptWindow window, const WindowPlace& place) { SetPlace(&g_set, window, place); }

WindowPlace PlaceToShow(KeptWindow window) {
  if (g_set.size == kNo) KeepPlace(window, PlaceIn(Settings(), window));
  return KeptPlace(window);
}

void SetPaused(bool paused) { g_set.sus = paused ? 1 : 0; }

bool TakeDialogChoices(const Settings& chosen) {
  Settings taken = chosen;
  taken.sus = g_set.sus;
  for (KeptWindow window : {KeptWindow::kList, KeptWindow::kViewer})
    SetPlace(&taken, window, PlaceIn(g_set, window));
  const bool reordered = taken.data != g_set.data;
  g_set = taken;
  return reordered;
}

const char* KeyTableVersion(int key) {
  return key == kKeyVilike ? "1.5a" : "1.9";
}

std::string HotkeyName(std::uint16_t word, std::string (*systemName)(unsigned key)) {
  std::string name;
  const unsigned modifiers = HotkeyModifiers(word);
  if (modifiers & kModControl) name += "Ctrl+";
  if (modifiers & kModShift) name += "Shift+";
  if (modifiers & kModAlt) name += "Alt+";
  const unsigned key = HotkeyKey(word);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return name + static_cast<char>(key);
  constexpr unsigned kF1 = 0x70, kF24 = 0x87;  // VK_F1, VK_F24
  if (key >= kF1 && key <= kF24) return name + "F" + std::to_string(key - kF1 + 1);
  const std::string system = systemName(key);
  if (!system.empty()) return name + system;
  char code[8];
  std::snprintf(code, sizeof code, "0x%02X", key);
  return name + code;
}
